#pragma once
// A running program cannot delete its own file, so the uninstaller leaves that to a copy of
// itself in the temporary folder, started with "-delfile", which waits until the uninstaller
// has ended.
#include <string>

#include "os/os.h"

namespace uninstall {

// Always the same name. A per-run name would buy nothing: the copy cannot delete itself either
// and only goes at the next restart, so a fixed name keeps at most one such file in the
// temporary folder instead of one per uninstall.
constexpr char kTempCopyName[] = "ZUZOrilderuninst0.exe";

// "-delfile <path> "<caption>" "<message>"". The path goes in its short form, which has no
// blanks; on a volume without short names it is quoted instead, so the copy never receives a
// cut path (which might name an unrelated file). Caption and message go in quotes as they are.
std::string DelFileCommandLine(const std::string& uninstallerPath, const std::string& caption,
                               const std::string& message);

// Copies the running program into the temporary folder and starts the copy hidden, to delete
// `uninstallerPath` once this process has ended and then show `message`. Nothing is started
// when there is no temporary folder or the copy could not be made: a stale file of that name
// is not ours to run. True when the copy was started; otherwise the uninstaller file stays.
bool StartSelfRemoval(os::Os& os, os::WindowRef owner, const std::string& caption, const std::string& message);

}  // namespace uninstall
