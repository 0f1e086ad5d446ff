#include "language/translation.h"

namespace language {

// Filled once by the wizard's control renaming and read on every page change.
std::array<std::string, 6> PageTitles;
std::array<std::string, 6> PageDescriptions;

}  // namespace language
