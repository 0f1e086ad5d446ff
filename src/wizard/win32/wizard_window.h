#pragma once
// The wizard's real Win32 window: creates it on what start-up read, shows it, and serves messages
// until it has closed.
#include "integration/run_outcome.h"
#include "os/os.h"
#include "package/own_package.h"
#include "runlog/run_log.h"

namespace wizard::win32 {

// Returns how the installation ended (kStoppedUnchanged when none ran).
integration::RunOutcome RunWizardWindow(os::Os& os, const package::OwnPackage& package,
                                        runlog::RunLog& log);

}  // namespace wizard::win32
