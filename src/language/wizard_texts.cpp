#include "language/translation.h"

namespace language {

std::string CaptionText(const ui::Caption& caption) {
  if (!caption.text) return {};
  if (!caption.translated) return caption.text;
  return caption.before + Translate(caption.text) + caption.after;
}

// Filled once by the wizard's control renaming and read on every page change.
std::array<std::string, ui::kPageCount> PageTitles;
std::array<std::string, ui::kPageCount> PageDescriptions;

}  // namespace language
