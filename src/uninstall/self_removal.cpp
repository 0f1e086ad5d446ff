#include "uninstall/self_removal.h"

#include "runlog/run_log.h"
#include "text/ascii_case.h"
#include "text/path_parts.h"
#include "uninstall/temp_folder.h"

namespace uninstall {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

bool IsRunFolderName(const std::string& name) {
  const std::string prefix = kRunFolderPrefix;
  if (name.size() != prefix.size() + 2 * kRunFolderRandomBytes ||
      !text::StartsWithIgnoringAsciiCase(name, prefix))
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

// The folder the uninstaller made for the copy when `ownPath` is such a copy (its name and its
// folder's name as CreateRunFolder makes them), else the empty text. Only such a folder is ours
// to remove.
std::string RunFolderOfCopy(const std::string& ownPath) {
  if (!text::SameIgnoringAsciiCase(text::FileNamePart(ownPath), kTempCopyName)) return {};
  const std::string folder = text::WithoutTrailingBackslashes(text::FolderPart(ownPath));
  return IsRunFolderName(text::FileNamePart(folder)) ? folder : std::string();
}

// The file is usually the uninstaller, deletable only once its process has ended: keep trying,
// with a short pause so that we do not spin a core, and give up after a generous bound so that
// a file we may never delete does not leave a hidden process behind for ever.
FileRemoval DeleteWhenReleased(os::Os& os, const std::string& path) {
  constexpr uint32_t kMaxPauses = kDelFileGiveUpMilliseconds / kDelFileRetryMilliseconds;
  FileRemoval removal;
  for (uint32_t pauses = 0;; ++pauses) {
    if (!os.files.DeleteFileAt(path)) removal.code = os.files.LastError();
    // A file, not a folder: DeleteFileA can never remove a folder, so waiting for one is pointless.
    removal.gone = !os::IsFileNotFolderAt(os.files, path);
    if (removal.gone || pauses >= kMaxPauses) return removal;
    os.system.Sleep(kDelFileRetryMilliseconds);
  }
}

}  // namespace

std::string DelFileCommandLine(const std::string& uninstallerPath, const Goodbye* goodbye,
                               const std::string& logPath) {
  const std::string path =
      text::HasBlank(uninstallerPath) ? '"' + uninstallerPath + '"' : uninstallerPath;
  std::string line = "-delfile " + path;
  if (goodbye) line += " \"" + goodbye->caption + "\" \"" + goodbye->message + '"';
  // A file name holds no quote, so the quotes keep any path whole.
  if (!logPath.empty()) line += std::string(" ") + runlog::kLogSwitch + " \"" + logPath + '"';
  return line;
}

bool StartSelfRemoval(os::Os& os, os::WindowRef owner, const std::string& modulePath,
                      const Goodbye* goodbye, const std::string& logPath) {
  const std::string tempFolder = TempFolder(os.files);
  if (modulePath.empty() || tempFolder.empty()) return false;
  const std::string folder = CreateRunFolder(os, tempFolder);
  if (folder.empty()) return false;
  const std::string copy = folder + '\\' + kTempCopyName;
  if (os.files.CopyFileTo(modulePath, copy, /*failIfExists=*/true)) {
    const std::string uninstallerPath = ShortUninstallerPath(os.files, modulePath);
    // ShellExecuteA reports success with a value above 32.
    if (os.shell.Execute(owner, "open", copy, DelFileCommandLine(uninstallerPath, goodbye, logPath),
                         "", os::kSwHide) > 32)
      return true;
    os.files.DeleteFileAt(copy);
  }
  os.files.RemoveFolder(folder);
  return false;
}

bool FinishSelfRemoval(os::Os& os, const std::string& path, const Goodbye* goodbye,
                       callable::FunctionRef<void(const FileRemoval&)> report) {
  FileRemoval removal = DeleteWhenReleased(os, path);
  // A file we gave up on may still go at the next restart; without administrator rights the
  // system refuses that, and then the closing message would be a lie.
  removal.goesAtRestart = !removal.gone && os.files.DeleteAtReboot(path);
  const std::string ownPath = os.system.ModulePath();
  if (!ownPath.empty()) {
    os.files.DeleteAtReboot(ownPath);
    // The folder the uninstaller made for us alone goes too, after our file: the system handles
    // the requests in order, and only an empty folder can be removed.
    const std::string runFolder = RunFolderOfCopy(ownPath);
    if (!runFolder.empty()) os.files.DeleteAtReboot(runFolder);
  }
  // Before the goodbye, which waits for the user.
  report(removal);
  if (goodbye) {
    if (removal.gone || removal.goesAtRestart)
      os.system.ShowMessage(0, goodbye->message, goodbye->caption,
                            os::kMbOk | os::kMbIconInformation);
    else
      os.system.ShowMessage(
          0, "The file \"" + path + "\" could not be removed. Please delete it yourself.",
          goodbye->caption, os::kMbOk | os::kMbIconWarning);
  }
  return removal.gone;
}

}  // namespace uninstall
