#pragma once
// The unattended installation: the same installation as the wizard's, into the folder the command
// line names or else the default one, with no licence, no page and no window at all.
#include "app/unattended_switches.h"
#include "integration/run_outcome.h"
#include "os/os.h"
#include "package/own_package.h"

namespace app {

integration::RunOutcome RunUnattendedInstallation(os::Os& os, const package::OwnPackage& package,
                                                  const UnattendedOptions& options,
                                                  runlog::RunLog& log);

}  // namespace app
