#include "language/translated_texts.h"

#include <algorithm>

#include "ui/pages.h"
#include "ui/wizard_controls.h"

namespace language {
namespace {

// Texts translated where they are used rather than through a control or page.
const char* const kOtherTexts[] = {
    "Install",
    "Finish",
    "Browse",
    "Setup",
    "The file is corrupted. Setup can not continue.",
    "Unable to create the directory. Please select a different directory.",
    "Invalid directory. Please select an existing directory.",
    "Unable to copy the files. Access is denied. Please select a different directory.",
    "There was an error installing %s. Installation is not complete.",
    "Are you sure you want to remove %s and its components?",
    "%s has been successfully removed from your computer.",
    "%s has been removed from your computer, but some of its files could not be deleted.",
    "These files will be deleted when Windows restarts:",
    "These files stay; please delete them yourself:",
    "Readme",
    "Uninstall",
    "Preview",
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
