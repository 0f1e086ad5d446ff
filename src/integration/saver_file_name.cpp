// The file name an installation writes the screen saver under: the start-up rewrite that Windows
// 2000 and later get. The choice between free, recorded and numbered names is in
// target_file_name.cpp, beside it.
#include "integration/saver_file_name.h"

#include "package/sections.h"
#include "text/path_parts.h"

namespace integration {
namespace {

constexpr std::size_t kFileNameFieldWidth = package::field::kScreensaverFileName.width;
// Versions from this index on get the short, plain file name.
constexpr int kFirstIndexWithShortNames = 5;
constexpr int kUnknownVersion = -1;

int Windows9xIndex(const os::VersionInfo& v) {
  if (v.major != 4) return kUnknownVersion;
  switch (v.minor) {
    case 0: return 0;
    case 10:
      // Second Edition reports " A " as its service-pack text.
      return v.servicePack.size() >= 2 && v.servicePack[1] == 'A' ? 2 : 1;
    case 90: return 3;
    default: return kUnknownVersion;
  }
}

int WindowsNtIndex(const os::VersionInfo& v) {
  if (v.major <= 4) return 4;
  if (v.major == 5 && v.minor == 0) return 5;
  if (v.major == 5 && v.minor == 1) return 6;
  if (v.major == 6) return 7;
  return kUnknownVersion;  // 5.2 and 7.0 on were unknown when this table was made
}

bool IsAsciiLetterOrDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Keeps the rewritten name inside its 256-byte field with room for the NUL. The characters go
// from in front of the extension, so the name still ends in ".scr" and its folder stays intact.
std::string BoundedToField(const std::string& directory, std::string name) {
  const std::size_t limit = kFileNameFieldWidth - 1;
  if (directory.size() + name.size() <= limit) return directory + name;
  const std::size_t excess = directory.size() + name.size() - limit;
  const std::size_t keepTail = name.size() >= 4 ? 4 : name.size();
  const std::size_t removable = name.size() - keepTail;
  const std::size_t cut = excess < removable ? excess : removable;
  name.erase(removable - cut, cut);
  return (directory + name).substr(0, limit);
}

}  // namespace

int WindowsVersionIndex(const std::optional<os::VersionInfo>& version) {
  if (!version) return kUnknownVersion;
  switch (version->platformId) {
    case 1: return Windows9xIndex(*version);
    case 2: return WindowsNtIndex(*version);
    default: return kUnknownVersion;
  }
}

void ShortenSaverFileName(package::SettingsRecord& record) {
  const std::string original = record.ScreensaverFileName();
  const std::string directory = text::FolderPart(original);
  std::string name = text::FileNamePart(original);

  const std::size_t firstDot = name.find('.');
  if (firstDot != std::string::npos && firstDot >= kShortStemLength)
    name = name.substr(0, kShortStemLength) + ".scr";
  if (name.size() > 4) {
    for (std::size_t i = 0; i + 4 < name.size(); ++i)
      if (!IsAsciiLetterOrDigit(name[i])) name[i] = '_';
  }
  const std::string rewritten = directory + name;
  // An unchanged name is left alone, so a field used to its full width keeps every byte.
  if (rewritten == original) return;
  record.SetScreensaverFileName(BoundedToField(directory, name));
}

bool GetsShortSaverFileNames(const std::optional<os::VersionInfo>& version) {
  return WindowsVersionIndex(version) >= kFirstIndexWithShortNames;
}

}  // namespace integration
