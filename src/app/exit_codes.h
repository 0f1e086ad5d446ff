#pragma once
// The process exit codes, one meaning each, in every mode: setup (interactive or unattended), the
// uninstaller and the file-removal mode. The README's table says what each mode ends with.
#include "integration/run_outcome.h"

namespace app {

enum ExitCode : int {
  kExitDone = 0,
  kExitUnreadable = 1,        // our own file cannot be read or is corrupted; nothing was changed
  kExitStoppedUnchanged = 2,  // stopped before anything was written (or removed)
  kExitFailedPartWay = 3,     // failed after writing began: setup rolled back, the uninstaller
                              // and the file-removal mode left a file behind
  // Another setup or uninstaller of the same title was running: nothing was done. The number
  // deployment tools know as "another installation is in progress, try again later".
  kExitAnotherRunning = 1618,
};

// How an installation or a removal ended, as its exit code.
inline int ExitCodeOf(integration::RunResult result) {
  switch (result) {
    case integration::RunResult::kDone: return kExitDone;
    case integration::RunResult::kFailedPartWay: return kExitFailedPartWay;
    case integration::RunResult::kStoppedUnchanged: break;
  }
  return kExitStoppedUnchanged;
}

}  // namespace app
