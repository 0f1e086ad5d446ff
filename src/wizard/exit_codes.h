#pragma once
// The process exit codes, one meaning each, in every mode: setup (interactive or unattended), the
// uninstaller and the file-removal mode. The README's table says what each mode ends with.
namespace wizard {

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

}  // namespace wizard
