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

// Compared in place, without copies: the stub carries this and every byte of it counts.
char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool SameCharsIgnoringCase(const char* a, const char* b, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

bool EndsWithIgnoringCase(const std::string& text, const char* ending, std::size_t length) {
  return text.size() >= length &&
         SameCharsIgnoringCase(text.data() + text.size() - length, ending, length);
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
  if (name.size() == packagedName.size() &&
      SameCharsIgnoringCase(name.data(), packagedName.data(), name.size()))
    return true;
  const std::size_t stem =
      packagedName.size() > kEndingLength ? packagedName.size() - kEndingLength : 0;
  const std::size_t ending = packagedName.size() - stem;
  if (name.size() <= ending || !EndsWithIgnoringCase(name, packagedName.data() + stem, ending))
    return false;
  const std::size_t numbered = name.size() - ending;
  // NumberedFileName keeps as much of the stem as the digits leave room for, and the number
  // has no leading zero.
  for (std::size_t digits = 1; digits < kShortStemLength; ++digits) {
    const std::size_t kept = std::min(stem, kShortStemLength - digits);
    if (numbered != kept + digits || name[kept] == '0' ||
        !SameCharsIgnoringCase(name.data(), packagedName.data(), kept))
      continue;
    std::size_t i = kept;
    while (i < numbered && name[i] >= '0' && name[i] <= '9') ++i;
    if (i == numbered) return true;
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
      !EndsWithIgnoringCase(name, kSaverEnding, kEndingLength) ||
      !IsTargetNameFor(name, packagedName) ||
      !SameFolder(files, text::PlainFolderPart(recorded), folder))
    return std::string();
  // Named from `folder`, which is the same folder, in the form this process knows.
  return text::WithTrailingBackslash(folder) + name;
}

void ChooseTargetFileName(os::Files& files, callable::FunctionRef<std::string()> readRecordedPath,
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
