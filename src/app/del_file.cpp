#include "app/del_file.h"

#include "uninstall/self_removal.h"
#include "wizard/exit_codes.h"

namespace app {

namespace {

// The file is usually the uninstaller, deletable only once its process has ended: keep trying,
// with a short pause so that we do not spin a core, and give up after a generous bound so that
// a file we may never delete does not leave a hidden process behind for ever. True when the
// file is gone.
bool DeleteWhenReleased(os::Os& os, const std::string& path) {
  constexpr uint32_t kMaxPauses = kDelFileGiveUpMilliseconds / kDelFileRetryMilliseconds;
  for (uint32_t pauses = 0;; ++pauses) {
    os.files.DeleteFileAt(path);
    // A file, not a folder: DeleteFileA can never remove a folder, so waiting for one is pointless.
    if (!os::IsFileNotFolderAt(os.files, path)) return true;
    if (pauses >= kMaxPauses) return false;
    os.system.Sleep(kDelFileRetryMilliseconds);
  }
}

}  // namespace

int RunDelFile(os::Os& os, const CommandLine& commandLine) {
  const std::string path = commandLine.Arg(2);
  const bool gone = DeleteWhenReleased(os, path);
  // A file we gave up on may still go at the next restart; without administrator rights the
  // system refuses that, and then the closing message would be a lie.
  const bool goesAtRestart = !gone && os.files.DeleteAtReboot(path);
  const std::string ownPath = os.system.ModulePath();
  if (!ownPath.empty()) {
    os.files.DeleteAtReboot(ownPath);
    // The folder the uninstaller made for us alone goes too, after our file: the system handles
    // the requests in order, and only an empty folder can be removed.
    const std::string runFolder = uninstall::RunFolderOfCopy(ownPath);
    if (!runFolder.empty()) os.files.DeleteAtReboot(runFolder);
  }
  if (commandLine.Count() == 4) {
    if (gone || goesAtRestart)
      os.system.ShowMessage(0, commandLine.Arg(4), commandLine.Arg(3),
                            os::kMbOk | os::kMbIconInformation);
    else
      os.system.ShowMessage(
          0, "The file \"" + path + "\" could not be removed. Please delete it yourself.",
          commandLine.Arg(3), os::kMbOk | os::kMbIconWarning);
  }
  return gone ? wizard::kExitDone : wizard::kExitFailedPartWay;
}

}  // namespace app
