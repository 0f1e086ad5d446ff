#pragma once
// Start-up: reads the program's own file once, decides what this run is -- the setup wizard, an
// unattended installation, the uninstaller (asking or not) -- and gives that mode what it read.
// However the run ends, it comes back here as the process exit code.
#include "app/command_line.h"
#include "integration/run_outcome.h"
#include "os/os.h"
#include "package/own_package.h"

namespace app {

// What only the window system can give start-up.
class Windows {
 public:
  virtual ~Windows() = default;
  // Runs the setup wizard on what start-up read until its window closes; how the installation
  // ended (kStoppedUnchanged when none ran).
  virtual integration::RunOutcome RunWizard(const package::OwnPackage& package) = 0;
  // A window that is never shown, to own the uninstaller's boxes until start-up ends.
  virtual os::WindowRef HiddenOwner() = 0;
};

// Returns the exit code.
int StartUp(os::Os& os, const CommandLine& commandLine, Windows& windows);

}  // namespace app
