#include "app/del_file.h"

#include <optional>

#include "app/exit_codes.h"
#include "app/run_log_start.h"
#include "uninstall/self_removal.h"

namespace app {
namespace {

struct DelFileArguments {
  std::string path;
  std::optional<uninstall::Goodbye> goodbye;
  std::string logFile;  // empty: no log
};

// The uninstaller puts "-log FILE" last, after what the copy has always been given, so that the
// goodbye is still told by its count: it comes only with exactly four parameters before it.
DelFileArguments ReadDelFileArguments(const CommandLine& commandLine) {
  DelFileArguments arguments;
  std::size_t count = commandLine.Count();
  if (count >= 4 && commandLine.Arg(count - 1) == runlog::kLogSwitch) {
    arguments.logFile = commandLine.Arg(count);
    count -= 2;
  }
  arguments.path = commandLine.Arg(2);
  // The caption and the message come as parameters 3 and 4; a quote in the title can cut them or
  // spread them over more, and then there is no goodbye.
  if (count == 4) arguments.goodbye = uninstall::Goodbye{commandLine.Arg(3), commandLine.Arg(4)};
  return arguments;
}

int ExitCodeOf(bool gone) { return gone ? kExitDone : kExitFailedPartWay; }

// One block, written once the file is gone or given up on: by then the uninstaller, which shares
// the log, has written its last line.
void LogRemoval(os::Os& os, runlog::RunLog& log, const std::string& path,
                const uninstall::FileRemoval& removal) {
  WriteRunStart(log, os, os.system.CommandLine(), {});
  runlog::RunMode(log, runlog::Mode::kFileRemoval);
  if (removal.gone) {
    runlog::File(log, runlog::FileAction::kDeleted, path);
    runlog::Outcome(log, "done");
  } else {
    runlog::Failure(log, os::Cause{"delete the uninstaller", path, removal.code});
    runlog::Outcome(
        log, removal.goesAtRestart ? "the file goes when Windows restarts" : "the file stays");
  }
  runlog::ExitCode(log, ExitCodeOf(removal.gone));
}

}  // namespace

int RunDelFile(os::Os& os, const CommandLine& commandLine) {
  const DelFileArguments arguments = ReadDelFileArguments(commandLine);
  runlog::RunLog log = OpenRunLog(os, arguments.logFile);
  // The copy is handed the short form; the log names the file as the user knows it, which can be
  // asked only while it is there.
  std::string logged = arguments.path;
  if (log.Active()) {
    const std::string longPath = os.files.LongPathName(arguments.path);
    if (!longPath.empty()) logged = longPath;
  }
  const bool gone = uninstall::FinishSelfRemoval(
      os, arguments.path, arguments.goodbye ? &*arguments.goodbye : nullptr,
      [&](const uninstall::FileRemoval& removal) { LogRemoval(os, log, logged, removal); });
  return ExitCodeOf(gone);
}

}  // namespace app
