#include "uninstall/self_removal.h"

#include "text/ascii_case.h"
#include "text/path_parts.h"
#include "uninstall/temp_folder.h"

namespace uninstall {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

bool IsRunFolderName(const std::string& name) {
  const std::string prefix = kRunFolderPrefix;
  if (name.size() != prefix.size() + 2 * kRunFolderRandomBytes ||
      !text::SameIgnoringAsciiCase(name.substr(0, prefix.size()), prefix))
    return false;
  return name.find_first_not_of("0123456789abcdefABCDEF", prefix.size()) == std::string::npos;
}

// The short form of the full path; the long form when the system has no short one.
std::string ShortUninstallerPath(os::Files& files, const std::string& modulePath) {
  std::string full = files.FullPathName(modulePath);
  if (full.empty()) full = modulePath;
  const std::string shortPath = files.ShortPathName(full);
  return shortPath.empty() ? full : shortPath;
}

// A fresh folder of ours below `tempFolder`, without a trailing backslash; empty when none could
// be made. The system creates it or fails: an existing folder, file, link or junction of that
// name is never used.
std::string CreateRunFolder(os::Os& os, const std::string& tempFolder) {
  for (int attempt = 0; attempt < kRunFolderAttempts; ++attempt) {
    unsigned char bytes[kRunFolderRandomBytes] = {};
    if (!os.system.RandomBytes(bytes, sizeof bytes)) return {};
    std::string folder = tempFolder + kRunFolderPrefix;
    for (unsigned char byte : bytes) {
      folder += kHexDigits[byte >> 4];
      folder += kHexDigits[byte & 0xF];
    }
    if (os.files.CreatePrivateFolder(folder)) return folder;
  }
  return {};
}

}  // namespace

std::string DelFileCommandLine(const std::string& uninstallerPath, const std::string& caption,
                               const std::string& message) {
  const std::string path =
      text::HasBlank(uninstallerPath) ? '"' + uninstallerPath + '"' : uninstallerPath;
  return "-delfile " + path + " \"" + caption + "\" \"" + message + '"';
}

bool StartSelfRemoval(os::Os& os, os::WindowRef owner, const std::string& modulePath,
                      const std::string& caption, const std::string& message) {
  const std::string tempFolder = TempFolder(os.files);
  if (modulePath.empty() || tempFolder.empty()) return false;
  const std::string folder = CreateRunFolder(os, tempFolder);
  if (folder.empty()) return false;
  const std::string copy = folder + '\\' + kTempCopyName;
  if (os.files.CopyFileTo(modulePath, copy, /*failIfExists=*/true)) {
    const std::string uninstallerPath = ShortUninstallerPath(os.files, modulePath);
    // ShellExecuteA reports success with a value above 32.
    if (os.shell.Execute(owner, "open", copy, DelFileCommandLine(uninstallerPath, caption, message),
                         "", os::kSwHide) > 32)
      return true;
    os.files.DeleteFileAt(copy);
  }
  os.files.RemoveFolder(folder);
  return false;
}

std::string RunFolderOfCopy(const std::string& ownPath) {
  if (!text::SameIgnoringAsciiCase(text::FileNamePart(ownPath), kTempCopyName)) return {};
  std::string folder = text::FolderPart(ownPath);
  if (folder.empty() || folder.back() != '\\') return {};
  folder.pop_back();
  return IsRunFolderName(text::FileNamePart(folder)) ? folder : std::string();
}

}  // namespace uninstall
