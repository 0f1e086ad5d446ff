#pragma once
// The installation as one plain procedure: the window (or the unattended mode) hands it what the
// user chose, it does the work through the OS boundary and reports the copy's progress, and it
// returns how it ended, why, and what message tells the user so. It never touches a control: what
// the window shows next is the window's choice.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "integration/run_outcome.h"
#include "os/os.h"
#include "package/extension_block.h"
#include "package/settings_record.h"
#include "runlog/run_log.h"

namespace install {

struct InstallRequest {
  std::string folderText;                // the folder as the user typed it
  std::vector<std::string> readmeLines;  // the readme as the wizard shows it
  const package::SettingsRecord& record;
  int64_t packageEnd = 0;
  bool unattended = false;  // the -silent mode: nobody sees a window
  // What the setup file carries behind its package: checksums, entry details, the uninstaller's
  // signature. Empty for a file without the block, which installs as such files always did.
  package::ExtensionBlock extension = {};
  bool shellInstall = true;       // off when whoever runs an unattended setup leaves the verb out
  runlog::RunLog* log = nullptr;  // the run's log, when it was given one
};

// What the window does while the image is copied.
class InstallProgress {
 public:
  virtual ~InstallProgress() = default;
  virtual void CopyBegins() {}  // the window takes no input and shows the hourglass ...
  virtual void CopyEnds() {}    // ... until here, however the copy ended
  virtual void Percent(int) {}  // after each chunk: show it and serve the window's messages
};

// kStoppedUnchanged: nothing was written, the user may choose another folder. kFailedPartWay:
// writing had begun, and everything written was taken away again.
using InstallResult = integration::RunResult;

// The title a message is captioned with: the application's, or the setup window's own caption.
enum class MessageCaption { kApplicationTitle, kSetupWindow };

struct InstallMessage {
  std::string text;
  MessageCaption caption = MessageCaption::kApplicationTitle;
};

struct InstallOutcome : integration::RunOutcome {
  std::optional<InstallMessage> message;  // to show, unless the run is unattended
  // The folder as typed with the trailing backslash it gains once it passed its check; empty when
  // the check refused it.
  std::string checkedFolder;
};

InstallOutcome InstallScreenSaver(os::Os& os, const InstallRequest& request,
                                  InstallProgress& progress);

}  // namespace install
