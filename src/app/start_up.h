#pragma once
// Start-up: reads the program's own file once, decides what this run is -- the setup wizard, an
// unattended installation, the uninstaller (asking or not) -- and gives that mode what it read.
// However the run ends, it comes back here as the process exit code.
#include "app/command_line.h"
#include "integration/run_outcome.h"
#include "os/os.h"
#include "package/own_package.h"
#include "runlog/run_log.h"

namespace app {

// What only the window system can give start-up.
class Windows {
 public:
  virtual ~Windows() = default;
  // Runs the setup wizard on what start-up read until its window closes; how the installation
  // ended (kStoppedUnchanged when none ran).
  // The installation writes what it does to `log`.
  virtual integration::RunOutcome RunWizard(const package::OwnPackage& package,
                                            runlog::RunLog& log) = 0;
  // A window that is never shown, to own the uninstaller's boxes until start-up ends.
  virtual os::WindowRef HiddenOwner() = 0;
};

// Returns the exit code. The mode, the package and how the run ended go to `log`, and the
// procedures write there what they do.
int StartUp(os::Os& os, const CommandLine& commandLine, Windows& windows, runlog::RunLog& log);

}  // namespace app
