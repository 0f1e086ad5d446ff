#pragma once
// The log a run keeps when its command line names one, and the facts that open its block.
#include <string>
#include <vector>

#include "os/os.h"
#include "runlog/log_lines.h"

namespace app {

// The log in `logFile` as the switches gave it, taken relative to the current folder as Windows
// takes any relative path; no log when none is given or the path cannot be resolved.
runlog::RunLog OpenRunLog(os::Os& os, const std::string& logFile);

// The block's first lines: what was asked, of which program, on which system, by whom. Nothing is
// asked of the system when there is no log.
void WriteRunStart(runlog::RunLog& log, os::Os& os, const std::string& commandLine,
                   const std::vector<runlog::IgnoredArgument>& ignored);

}  // namespace app
