#pragma once
// One run of the program, whatever the mode: the DLL search is protected before anything else,
// the command line is read afterwards, and it picks the file-removal mode or start-up (which
// picks setup, unattended setup or uninstaller, as the package decides). A run given "-log FILE"
// writes its start and its exit code there.

#include "app/command_line.h"
#include "callable/function_ref.h"
#include "runlog/run_log.h"
#include "os/os.h"

namespace app {

// `runWindow` runs start-up for the command line and returns the exit code.
int RunProgram(os::Os& os,
               callable::FunctionRef<int(const CommandLine&, runlog::RunLog&)> runWindow);

}  // namespace app
