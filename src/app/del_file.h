#pragma once
// The "-delfile" mode: the temporary uninstaller copy's command line handed to the copy's side of
// self-removal (uninstall/self_removal.h), and its result turned into the exit code. Given
// "-log FILE" last, it appends one block saying what became of the file.
#include "app/command_line.h"
#include "os/os.h"

namespace app {

// The process exit code: 0 when the file is gone, 3 when it is still there (its deletion at the
// next restart requested).
int RunDelFile(os::Os& os, const CommandLine& commandLine);

}  // namespace app
