#include "app/del_file.h"

namespace app {

namespace {

// A file, not a folder: DeleteFileA can never remove a folder, so waiting for one is pointless.
// GetFileAttributesA rather than a directory search, so that a path with wildcards is not
// mistaken for the files it would match.
bool FileStillThere(os::Files& files, const std::string& path) {
  const uint32_t attributes = files.Attributes(path);
  return attributes != os::kInvalidAttributes && (attributes & os::kAttributeDirectory) == 0;
}

// The file is usually the uninstaller, deletable only once its process has ended: keep trying,
// with a short pause so that we do not spin a core, and give up after a generous bound so that
// a file we may never delete does not leave a hidden process behind for ever.
void DeleteWhenReleased(os::Os& os, const std::string& path) {
  constexpr uint32_t kMaxPauses = kDelFileGiveUpMilliseconds / kDelFileRetryMilliseconds;
  for (uint32_t pauses = 0;; ++pauses) {
    os.files.DeleteFileAt(path);
    if (!FileStillThere(os.files, path) || pauses >= kMaxPauses) return;
    os.system.Sleep(kDelFileRetryMilliseconds);
  }
}

}  // namespace

void RunDelFile(os::Os& os, const CommandLine& commandLine) {
  DeleteWhenReleased(os, commandLine.Arg(2));
  const std::string ownPath = os.system.ModulePath();
  if (!ownPath.empty()) os.files.DeleteAtReboot(ownPath);
  if (commandLine.Count() == 4)
    os.system.ShowMessage(0, commandLine.Arg(4), commandLine.Arg(3), os::kMbOk | os::kMbIconInformation);
}

}  // namespace app
