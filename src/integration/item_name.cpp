#include "integration/item_name.h"

namespace integration {

namespace {
// Windows drops trailing dots and blanks from path parts, so "..  " walks up like "..".
bool IsEmptyOrDots(const std::string& part) {
  return part.find_first_not_of(". ") == std::string::npos;
}

// Every part between backslashes and slashes is a real name.
bool AllPartsAreNames(const std::string& path) {
  std::string::size_type start = 0;
  while (true) {
    const auto end = path.find_first_of("\\/", start);
    const auto part =
        path.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (IsEmptyOrDots(part)) return false;
    if (end == std::string::npos) return true;
    start = end + 1;
  }
}
}  // namespace

bool TitleNamesOwnItem(const std::string& title) { return AllPartsAreNames(title); }

bool NameStaysInFolder(const std::string& name) { return AllPartsAreNames(name); }

}  // namespace integration
