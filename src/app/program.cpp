#include "app/program.h"

#include "app/del_file.h"
#include "app/dll_search.h"
#include "app/run_log_start.h"
#include "app/unattended_switches.h"

namespace app {

int RunProgram(os::Os& os,
               callable::FunctionRef<int(const CommandLine&, runlog::RunLog&)> runWindow) {
  ProtectDllSearch(os.system);
  const std::string rawCommandLine = os.system.CommandLine();
  const CommandLine commandLine = CommandLine::Parse(rawCommandLine);
  if (IsDelFileMode(commandLine)) return RunDelFile(os, commandLine);
  const Switches switches = ReadSwitches(commandLine);
  runlog::RunLog log = OpenRunLog(os, switches.logFile);
  WriteRunStart(log, os, rawCommandLine, switches.ignored);
  const int exitCode = runWindow(commandLine, log);
  runlog::ExitCode(log, exitCode);
  return exitCode;
}

}  // namespace app
