#include "language/translation.h"

namespace language {

// Filled once by the wizard's control renaming and read on every page change.
std::array<std::string, ui::kPageCount> PageTitles;
std::array<std::string, ui::kPageCount> PageDescriptions;

}  // namespace language
