#include "integration/target_file_name.h"

#include <algorithm>

#include "text/ascii_case.h"
#include "text/folder_names.h"
#include "text/path_parts.h"

namespace integration {

namespace {
constexpr std::size_t kEndingLength = 4;  // ".scr"
constexpr char kSaverEnding[] = ".scr";

std::string StemOf(const std::string& name) {
  return name.substr(0, name.size() > kEndingLength ? name.size() - kEndingLength : 0);
}

bool EndsWithIgnoringCase(const std::string& text, const std::string& ending) {
  return text.size() >= ending.size() &&
         text::SameIgnoringAsciiCase(text.substr(text.size() - ending.size()), ending);
}

bool IsNumber(const std::string& digits) {
  return !digits.empty() && digits[0] != '0' &&
         std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string NormalFolder(os::Files& files, const std::string& folder) {
  const std::string full = files.FullPathName(folder);
  return full.empty() ? full : text::WithTrailingBackslash(full);
}
}  // namespace

std::string NumberedFileName(std::string& stem, const std::string& ending, int number) {
  const std::string digits = std::to_string(number);
  if (digits.size() >= kShortStemLength) return std::string();
  while (!stem.empty() && stem.size() + digits.size() > kShortStemLength) stem.pop_back();
  return stem + digits + ending;
}

bool IsTargetNameFor(const std::string& name, const std::string& packagedName) {
  if (text::SameIgnoringAsciiCase(name, packagedName)) return true;
  const std::string stem = StemOf(packagedName);
  const std::string ending = packagedName.substr(stem.size());
  if (name.size() <= ending.size() || !EndsWithIgnoringCase(name, ending)) return false;
  const std::string numbered = name.substr(0, name.size() - ending.size());
  // NumberedFileName keeps as much of the stem as the digits leave room for.
  for (std::size_t digits = 1; digits < kShortStemLength; ++digits) {
    const std::size_t kept = std::min(stem.size(), kShortStemLength - digits);
    if (numbered.size() == kept + digits && IsNumber(numbered.substr(kept)) &&
        text::SameIgnoringAsciiCase(numbered.substr(0, kept), stem.substr(0, kept)))
      return true;
  }
  return false;
}

bool SameFolder(os::Files& files, const std::string& a, const std::string& b) {
  const std::string fullA = NormalFolder(files, a), fullB = NormalFolder(files, b);
  if (fullA.empty() || fullB.empty()) return false;
  if (text::SameIgnoringAsciiCase(fullA, fullB)) return true;
  const std::string shortA = files.ShortPathName(fullA), shortB = files.ShortPathName(fullB);
  return !shortA.empty() && text::SameIgnoringAsciiCase(text::WithTrailingBackslash(shortA),
                                                        text::WithTrailingBackslash(shortB));
}

std::string OwnRecordedPath(os::Files& files, const std::string& recorded,
                            const std::string& folder, const std::string& packagedName) {
  // Split as Windows splits it, slashes included, so that no "../" behind the last backslash can
  // lead the name out of the folder that was compared.
  const std::string name = text::PlainFileName(recorded);
  if (name.empty() || !text::IsFullyQualifiedPath(recorded) ||
      !EndsWithIgnoringCase(name, kSaverEnding) || !IsTargetNameFor(name, packagedName) ||
      !SameFolder(files, text::PlainFolderPart(recorded), folder))
    return std::string();
  // Named from `folder`, which is the same folder, in the form this process knows.
  return text::WithTrailingBackslash(folder) + name;
}

void ChooseTargetFileName(os::Files& files, const std::function<std::string()>& readRecordedPath,
                          std::string& target, const std::string& folder) {
  if (!files.FileExists(target)) return;
  const std::string name = text::FileNamePart(target);
  const std::string recorded = OwnRecordedPath(files, readRecordedPath(), folder, name);
  if (!recorded.empty()) {
    target = recorded;
    return;
  }
  std::string stem = StemOf(name);
  const std::string ending = name.substr(stem.size());
  for (int number = 1; number <= kHighestFileNumber; ++number) {
    const std::string candidate = NumberedFileName(stem, ending, number);
    if (candidate.empty()) return;
    // Reuses the buffer: this loop may run millions of times.
    target.assign(folder).append(candidate);
    if (!files.FileExists(target)) return;
  }
}

}  // namespace integration
