#pragma once
// The uninstaller's one job, run by start-up when its own file turned out to be an uninstaller.
// It does the work and returns what the caller is to report and how the program is to end; it
// never ends the program itself.
#include <cstdint>
#include <exception>
#include <optional>
#include <string>

#include "os/os.h"
#include "package/settings_record.h"

namespace uninstall {

enum class UninstallResult {
  kKept,            // the user said No: nothing was touched
  kRemoved,         // everything went, and the copy deletes the uninstaller once we have ended
  kSomethingStays,  // a file could not be deleted, or the copy could not be started
};

// A box for the caller to show once the procedure has returned: one OK button and `icon`.
struct UninstallMessage {
  std::string text;
  std::string caption;
  unsigned icon = os::kMbIconWarning;
};

struct UninstallOutcome {
  UninstallResult result = UninstallResult::kKept;
  // None when the copy says goodbye once we have ended, or when nothing was done.
  std::optional<UninstallMessage> message;
};

// An error that ended the removal after its first step: part of it is done. The caller reports
// it as it reports every error of start-up, and knows by this type that the machine is changed.
class RemovalCutShort : public std::exception {
 public:
  const char* what() const noexcept override { return "The removal was cut short."; }
};

// Confirms with the user, removes what setup made and has a temporary copy delete the
// uninstaller file once we have ended. `unattended` (the "-yes" switch): no question, and the copy
// says no goodbye; the outcome's message is then the caller's to drop. `packageEnd` and `record`
// are what start-up read from our own file. An error before the removal began passes as it is; one
// after it as RemovalCutShort. The caller hides the window and ends the application afterwards,
// whatever happened.
UninstallOutcome UninstallProcedure(os::Os& os, os::WindowRef owner, int64_t packageEnd,
                                    const package::SettingsRecord& record, bool unattended = false);

}  // namespace uninstall
