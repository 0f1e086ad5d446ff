#include "text/folder_names.h"

#include <cstring>

namespace text {
namespace {

// Kept free of string copies: the stub carries this and every byte of it counts.
constexpr char kNotInNames[] = "*?\"<>|";

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool IsAsciiLetter(char c) { return Lower(c) >= 'a' && Lower(c) <= 'z'; }

// The "\\?\" prefix only switches off the system's own path parsing; the rules of names hold
// behind it all the same ("UNC\" that may follow holds nothing they refuse).
std::size_t PrefixLength(const std::string& path) { return path.rfind("\\\\?\\", 0) == 0 ? 4 : 0; }

bool HasDrive(const std::string& path, std::size_t at) {
  return path.size() >= at + 2 && IsAsciiLetter(path[at]) && path[at + 1] == ':';
}

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9 are devices with any extension and trailing blanks.
bool IsDeviceName(const char* level, std::size_t length) {
  std::size_t base = 0;
  while (base < length && level[base] != '.') ++base;
  while (base > 0 && level[base - 1] == ' ') --base;
  char name[5] = {};
  if (base < 3 || base > 4) return false;
  for (std::size_t i = 0; i < base; ++i) name[i] = Lower(level[i]);
  if (base == 3)
    return !std::strcmp(name, "con") || !std::strcmp(name, "prn") || !std::strcmp(name, "aux") ||
           !std::strcmp(name, "nul");
  return (!std::strncmp(name, "com", 3) || !std::strncmp(name, "lpt", 3)) && name[3] >= '1' &&
         name[3] <= '9';
}

}  // namespace

bool IsFullyQualifiedPath(const std::string& path) {
  const std::size_t at = PrefixLength(path);
  if (path.size() < at + 3) return false;
  if (HasDrive(path, at)) return IsSeparator(path[at + 2]);
  return IsSeparator(path[at]) && IsSeparator(path[at + 1]) && !IsSeparator(path[at + 2]);
}

bool IsCreatableFolderPath(const std::string& path) {
  std::size_t at = PrefixLength(path);
  if (HasDrive(path, at)) at += 2;
  std::size_t levelStart = at;
  for (std::size_t i = at; i <= path.size(); ++i) {
    if (i == path.size() || IsSeparator(path[i])) {
      if (IsDeviceName(path.data() + levelStart, i - levelStart)) return false;
      levelStart = i + 1;
      continue;
    }
    const char c = path[i];
    if (c == ':' || static_cast<unsigned char>(c) < 32 || std::strchr(kNotInNames, c)) return false;
  }
  return true;
}

}  // namespace text
