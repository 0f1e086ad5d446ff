#include "language/translation.h"

#include <optional>
#include <string_view>
#include <vector>

#include "language/language_text.h"

namespace language {
namespace {

// The two lists always have the same length; entry i of the values translates entry i of the
// keys. Absent (not empty) until a language text has been loaded, so that lookups before start-up
// and after the window is gone return the English text.
struct Table {
  std::vector<std::string> TranslationKeys;
  std::vector<std::string> TranslationValues;
};
std::optional<Table> table;

constexpr char kLineBreak[] = "\r\n";
constexpr char kLineBreakMark[] = "#13";

}  // namespace

std::vector<TranslationEntry> ReadTranslationEntries(const std::string& languageText,
                                                     const std::string& section) {
  std::vector<TranslationEntry> entries;
  ForEachLanguageLine(languageText, [&](const LanguageLine& line) {
    if (line.startsSection || (!section.empty() && line.section != section)) return;
    entries.push_back({std::string(line.key), std::string(line.value), line.number});
  });
  return entries;
}

void LoadTranslation(const std::string& languageText, const std::string& section) {
  Table loaded;
  for (TranslationEntry& entry : ReadTranslationEntries(languageText, section)) {
    loaded.TranslationKeys.push_back(std::move(entry.key));
    loaded.TranslationValues.push_back(std::move(entry.value));
  }
  table = std::move(loaded);
}

std::string Translate(const std::string& english) {
  if (!table) return english;
  const std::string key = ReplaceAll(english, kLineBreak, kLineBreakMark);
  const auto& keys = table->TranslationKeys;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (keys[i] == key) return ReplaceAll(table->TranslationValues[i], kLineBreakMark, kLineBreak);
  }
  return english;
}

void FreeTranslation() { table.reset(); }

std::string ReplaceAll(const std::string& text, const std::string& oldPart,
                       const std::string& newPart) {
  // An empty pattern would match everywhere without advancing; nothing to replace then.
  if (oldPart.empty()) return text;
  std::string result;
  result.reserve(text.size());
  std::size_t from = 0;
  for (std::size_t hit = text.find(oldPart); hit != std::string::npos;
       hit = text.find(oldPart, from)) {
    result.append(text, from, hit - from);
    result += newPart;
    from = hit + oldPart.size();
  }
  result.append(text, from, std::string::npos);
  return result;
}

}  // namespace language
