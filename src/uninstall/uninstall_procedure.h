#pragma once
// The uninstaller's one job, run by start-up when its own file turned out to be an uninstaller.
#include <cstdint>

#include "os/os.h"
#include "package/settings_record.h"

namespace uninstall {

// How far the removal got, filled in as it goes, so that it is known also when an error ends it.
struct UninstallReport {
  bool removalBegan = false;    // the user said Yes and the first file is about to go
  bool somethingStays = false;  // a file could not be deleted, or the copy could not be started
};

// Confirms with the user, removes what setup made and has a temporary copy delete the
// uninstaller file once we have ended. `packageEnd` and `record` are what start-up read from our
// own file. The caller hides the window and ends the application afterwards, whatever happened.
void UninstallProcedure(os::Os& os, os::WindowRef owner, int64_t packageEnd,
                        const package::SettingsRecord& record, UninstallReport& report);

}  // namespace uninstall
