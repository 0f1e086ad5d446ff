#pragma once
// The temporary uninstaller copy's job: delete the uninstaller once its process has ended,
// schedule our own file (and the folder the uninstaller made for it) for deletion at restart, and
// say goodbye -- or say which file stays.
#include "app/command_line.h"
#include "os/os.h"

namespace app {

// Pause between deletion attempts, and how long to keep trying before giving up.
constexpr uint32_t kDelFileRetryMilliseconds = 50;
constexpr uint32_t kDelFileGiveUpMilliseconds = 10 * 60 * 1000;

// The process exit code: 0 when the file is gone, 3 when it is still there (its deletion at the
// next restart requested).
int RunDelFile(os::Os& os, const CommandLine& commandLine);

}  // namespace app
