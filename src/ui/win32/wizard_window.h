#pragma once
// The wizard's real Win32 window: creates it, runs the start-up inside its creation, shows it
// unless the start-up ended or hid it, and serves messages until the application is told to end.
#include "os/os.h"
#include "setup/command_line.h"

namespace ui::win32 {

// Returns the process exit code decided by the wizard's logic.
int RunWizardWindow(os::Os& os, const setup::CommandLine& commandLine, bool silentMode);

}  // namespace ui::win32

// The entry point calls it unqualified.
using ui::win32::RunWizardWindow;
