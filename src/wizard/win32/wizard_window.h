#pragma once
// The wizard's real Win32 window: creates it, runs the start-up inside its creation, shows it
// unless the start-up ended or hid it, and serves messages until the application is told to end.
#include <string>

#include "os/os.h"
#include "wizard/scr_setup.h"

namespace wizard::win32 {

// `unattended` is what the command line tells an unattended run. Returns the process exit code
// decided by the wizard's logic.
int RunWizardWindow(os::Os& os, bool silentMode, const UnattendedOptions& unattended);

}  // namespace wizard::win32
