#include "app/run_log_start.h"

namespace app {

runlog::RunLog OpenRunLog(os::Os& os, const std::string& logFile) {
  if (logFile.empty()) return {};
  const std::string path = os.files.FullPathName(logFile);
  if (path.empty()) return {};
  return runlog::RunLog(os.files, os.system, path);
}

void WriteRunStart(runlog::RunLog& log, os::Os& os, const std::string& commandLine,
                   const std::vector<runlog::IgnoredArgument>& ignored) {
  if (!log.Active()) return;
  runlog::RunStarted(log);
  runlog::CommandLine(log, commandLine, ignored);
  runlog::ProgramFile(log, os.system.ModulePath());
  runlog::SystemFacts(log, os.system.Version(), os.system.UserName(), os.system.RunsElevated());
}

}  // namespace app
