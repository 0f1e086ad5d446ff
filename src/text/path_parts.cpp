#include "text/path_parts.h"

#include <algorithm>

namespace text {
namespace {

constexpr const char* kFolderEnds = "\\:";
constexpr const char* kFolderEndsWithSlash = "\\/:";

std::string::size_type FolderEnd(const std::string& path, const char* separators = kFolderEnds) {
  const auto last = path.find_last_of(separators);
  return last == std::string::npos ? 0 : last + 1;
}

}  // namespace

std::string FolderPart(const std::string& path) { return path.substr(0, FolderEnd(path)); }

std::string FileNamePart(const std::string& path) { return path.substr(FolderEnd(path)); }

std::string PlainFileName(const std::string& path) {
  std::string name = path.substr(FolderEnd(path, kFolderEndsWithSlash));
  if (name.find_first_not_of(". ") == std::string::npos) name.clear();
  return name;
}

std::string PlainFolderPart(const std::string& path) {
  return path.substr(0, FolderEnd(path, kFolderEndsWithSlash));
}

std::string WithTrailingBackslash(const std::string& path) {
  if (path.empty() || path.back() == '\\') return path;
  return path + '\\';
}

std::string WithoutTrailingBackslashes(std::string path) {
  while (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

std::string WithoutTrailingBackslashesButDriveRoot(std::string path) {
  const bool drive =
      path.size() >= 2 && path[1] == ':' && path.find_first_not_of('\\', 2) == std::string::npos;
  return drive ? path.substr(0, 2) + '\\' : WithoutTrailingBackslashes(std::move(path));
}

std::string WithoutTrailingSeparators(const std::string& path) {
  return path.substr(0, path.find_last_not_of("\\/") + 1);  // npos + 1 is 0: only separators
}

bool HasBlank(const std::string& text) { return std::any_of(text.begin(), text.end(), IsBlank); }

std::string TrimBlanks(const std::string& text) {
  std::string::size_type begin = 0;
  std::string::size_type end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

}  // namespace text
