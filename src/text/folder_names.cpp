#include "text/folder_names.h"

#include "text/ascii_case.h"

namespace text {
namespace {

constexpr char kLongPathPrefix[] = "\\\\?\\";
constexpr char kLongUncPrefix[] = "UNC\\";
constexpr char kNotInNames[] = "*?\"<>|";

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// What follows the "\\?\" (and "\\?\UNC\") prefix, which only switches off the system's own
// path parsing; the rules of names hold behind it all the same.
std::string WithoutLongPathPrefix(const std::string& path) {
  if (path.rfind(kLongPathPrefix, 0) != 0) return path;
  const std::string rest = path.substr(4);
  if (SameIgnoringAsciiCase(rest.substr(0, 4), kLongUncPrefix)) return "\\\\" + rest.substr(4);
  return rest;
}

bool HasDrive(const std::string& path) {
  return path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':';
}

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9 are devices with any extension and trailing blanks.
bool IsDeviceName(const std::string& level) {
  std::string base = LowerAsciiLetters(level.substr(0, level.find('.')));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  if (base == "con" || base == "prn" || base == "aux" || base == "nul") return true;
  return base.size() == 4 && (base.rfind("com", 0) == 0 || base.rfind("lpt", 0) == 0) &&
         base[3] >= '1' && base[3] <= '9';
}

}  // namespace

bool IsFullyQualifiedPath(const std::string& path) {
  const std::string rest = WithoutLongPathPrefix(path);
  if (HasDrive(rest)) return rest.size() >= 3 && IsSeparator(rest[2]);
  return rest.size() >= 3 && IsSeparator(rest[0]) && IsSeparator(rest[1]) && !IsSeparator(rest[2]);
}

bool IsCreatableFolderPath(const std::string& path) {
  const std::string rest = WithoutLongPathPrefix(path);
  const std::size_t start = HasDrive(rest) ? 2 : 0;
  std::string level;
  for (std::size_t i = start; i <= rest.size(); ++i) {
    if (i == rest.size() || IsSeparator(rest[i])) {
      if (IsDeviceName(level)) return false;
      level.clear();
      continue;
    }
    const char c = rest[i];
    if (c == ':' || static_cast<unsigned char>(c) < 32 ||
        std::char_traits<char>::find(kNotInNames, sizeof kNotInNames - 1, c))
      return false;
    level += c;
  }
  return true;
}

}  // namespace text
