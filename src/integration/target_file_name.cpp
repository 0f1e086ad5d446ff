#include "integration/target_file_name.h"

#include "text/path_parts.h"

namespace integration {

namespace {
constexpr std::size_t kEndingLength = 4;  // ".scr"

std::string RecordedPathInFolder(const std::function<std::string()>& readRecordedPath,
                                 const std::string& folder) {
  std::string recorded = readRecordedPath();
  // Byte for byte: a recorded path that differs only in case is somebody else's install. Its
  // name must be a plain one too: "x/../y.scr" after the folder would lead out of it.
  if (text::FolderPart(recorded) != folder ||
      text::PlainFileName(recorded) != text::FileNamePart(recorded))
    recorded.clear();
  return recorded;
}
}  // namespace

std::string NumberedFileName(std::string& stem, const std::string& ending, int number) {
  const std::string digits = std::to_string(number);
  if (digits.size() >= kShortStemLength) return std::string();
  while (!stem.empty() && stem.size() + digits.size() > kShortStemLength) stem.pop_back();
  return stem + digits + ending;
}

void ChooseTargetFileName(os::Files& files, const std::function<std::string()>& readRecordedPath,
                          std::string& target, const std::string& folder) {
  if (!files.FileExists(target)) return;
  const std::string recorded = RecordedPathInFolder(readRecordedPath, folder);
  if (!recorded.empty()) {
    target = recorded;
    return;
  }
  const std::string name = text::FileNamePart(target);
  const std::size_t stemLength = name.size() > kEndingLength ? name.size() - kEndingLength : 0;
  std::string stem = name.substr(0, stemLength);
  const std::string ending = name.substr(stemLength);
  for (int number = 1; number <= kHighestFileNumber; ++number) {
    const std::string candidate = NumberedFileName(stem, ending, number);
    if (candidate.empty()) return;
    // Reuses the buffer: this loop may run millions of times.
    target.assign(folder).append(candidate);
    if (!files.FileExists(target)) return;
  }
}

}  // namespace integration
