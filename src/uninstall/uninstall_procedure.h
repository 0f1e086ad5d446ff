#pragma once
// The uninstaller's one job, run by start-up when its own file turned out to be an uninstaller.
#include <cstdint>

#include "os/os.h"
#include "package/settings_record.h"

namespace uninstall {

// Confirms with the user, removes what setup made and has a temporary copy delete the
// uninstaller file once we have ended. `packageEnd` and `record` are what start-up read from our
// own file. The caller hides the window and ends the application afterwards, whatever happened.
void UninstallProcedure(os::Os& os, os::WindowRef owner, int64_t packageEnd,
                        const package::SettingsRecord& record);

}  // namespace uninstall
