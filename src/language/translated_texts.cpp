#include "language/translated_texts.h"

#include <algorithm>

#include "language/texts.h"
#include "ui/pages.h"
#include "ui/wizard_controls.h"

namespace language {
namespace {

const char* const kOtherTexts[] = {
#define SCR_TEXT_ENTRY(name, text) english::name,
    SCR_OTHER_TEXTS(SCR_TEXT_ENTRY)
#undef SCR_TEXT_ENTRY
};

void AddOnce(std::vector<std::string>& texts, const char* text) {
  if (std::find(texts.begin(), texts.end(), text) == texts.end()) texts.emplace_back(text);
}

}  // namespace

std::vector<std::string> TranslatedTexts() {
  std::vector<std::string> texts;
  for (const ui::Caption& caption : ui::kCaptions)
    if (caption.translated) AddOnce(texts, caption.text);
  for (const ui::PageTexts& page : ui::kPageTexts) AddOnce(texts, page.title);
  for (const ui::PageTexts& page : ui::kPageTexts) AddOnce(texts, page.description);
  for (const char* text : kOtherTexts) AddOnce(texts, text);
  return texts;
}

}  // namespace language
