#pragma once
// The uninstaller's one job, run by start-up when its own file turned out to be an uninstaller.
// It does the work and returns what the caller is to report and how the program is to end; it
// never ends the program itself.
#include <cstdint>
#include <optional>
#include <string>

#include "integration/run_outcome.h"
#include "os/os.h"
#include "package/settings_record.h"
#include "runlog/run_log.h"

namespace uninstall {

// A box for the caller to show once the procedure has returned: one OK button and `icon`.
struct UninstallMessage {
  std::string text;
  std::string caption;
  unsigned icon = os::kMbIconWarning;
};

// kStoppedUnchanged: the user said No, nothing was touched. kDone: everything went, and the copy
// deletes the uninstaller once we have ended. kFailedPartWay: a file, link, registry value or the
// entry could not be deleted, the copy could not be started, or an error cut the removal short
// (then `cause` says where).
struct UninstallOutcome : integration::RunOutcome {
  // None when the copy says goodbye once we have ended, or when nothing was done.
  std::optional<UninstallMessage> message;
};

// Confirms with the user, removes what setup made and has a temporary copy delete the
// uninstaller file once we have ended. `unattended` (the "-yes" switch): no question, and the copy
// says no goodbye; the outcome's message is then the caller's to drop. `packageEnd` and `record`
// are what start-up read from our own file. An error before the removal began passes as it is: the
// file is not a sound uninstaller. One after it ends the removal where it stands, as kFailedPartWay
// with its cause.
UninstallOutcome UninstallProcedure(os::Os& os, os::WindowRef owner, int64_t packageEnd,
                                    const package::SettingsRecord& record, bool unattended = false,
                                    runlog::RunLog* log = nullptr);

}  // namespace uninstall
