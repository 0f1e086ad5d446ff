// Any language text, any lookup: loading and translating never crash, and lookups of texts that
// the table does not hold come back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "language/translation.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The first part is the language text, the rest a text to look up, split at the first 0xFF.
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = input.find('\xFF');
  const std::string text = input.substr(0, split);
  const std::string lookup = split == std::string::npos ? std::string("Next") : input.substr(split + 1);
  language::LoadTranslation(text, "Setup");
  language::Translate(lookup);
  language::Translate("");
  language::Translate("&Next >");
  // No key can hold a lone line feed (lines end there), so such a text is never found. Two of
  // them, because a CR before the first would make a CR LF, which lookups turn into "#13".
  const std::string absent = lookup + "\n\n";
  Check(language::Translate(absent) == absent);
  if (!lookup.empty()) language::ReplaceAll(text, lookup, "x");
  language::FreeTranslation();
  Check(language::Translate(lookup) == lookup);
  return 0;
}
