#include "integration/path_parts.h"

namespace integration {

namespace {
std::string::size_type FolderEnd(const std::string& path) {
  const auto last = path.find_last_of("\\:");
  return last == std::string::npos ? 0 : last + 1;
}
}  // namespace

std::string FolderPart(const std::string& path) { return path.substr(0, FolderEnd(path)); }

std::string FileNamePart(const std::string& path) { return path.substr(FolderEnd(path)); }

std::string WithTrailingBackslash(const std::string& path) {
  if (path.empty() || path.back() == '\\') return path;
  return path + '\\';
}

std::string TrimBlanks(const std::string& text) {
  auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  std::string::size_type begin = 0;
  std::string::size_type end = text.size();
  while (begin < end && isBlank(text[begin])) ++begin;
  while (end > begin && isBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

}  // namespace integration
