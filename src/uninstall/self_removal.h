#pragma once
// A running program cannot delete its own file, so the uninstaller leaves that to a copy of
// itself, started with "-delfile", which waits until the uninstaller has ended.
//
// The copy runs, often elevated, from below the temporary folder, which for the SYSTEM account
// and for our own fallback is <Windows>\Temp, where every user may create files. So each run puts
// its copy into a fresh folder of its own with an unpredictable name, open only to the user,
// Administrators and SYSTEM: nobody else can plant a file of the copy's name or a DLL beside it,
// or swap the copy between copying and starting it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "callable/function_ref.h"
#include "os/os.h"

namespace uninstall {

// The copy's file name, the same in every run: the folder around it is what differs.
constexpr char kTempCopyName[] = "ZUZOrilderuninst0.exe";
// The per-run folder: this prefix and 16 hexadecimal digits from the system's random generator.
constexpr char kRunFolderPrefix[] = "ZUZOrilder-";
constexpr std::size_t kRunFolderRandomBytes = 8;
// A name that is taken is never reused; a few fresh draws, then we give up.
constexpr int kRunFolderAttempts = 4;

// The closing box the uninstaller hands over on the copy's command line.
struct Goodbye {
  std::string caption;
  std::string message;
};

// "-delfile <path> "<caption>" "<message>"", or only "-delfile <path>" without a goodbye, followed
// by "-log "<logPath>"" when the uninstaller keeps a log, so that the copy adds what became of the
// file. The path goes in its short form, which has no blanks; on a volume without short names it
// is quoted instead, so the copy never receives a cut path (which might name an unrelated file).
// Caption and message go in quotes as they are.
std::string DelFileCommandLine(const std::string& uninstallerPath, const Goodbye* goodbye,
                               const std::string& logPath = {});

// Copies the running program (its file at `modulePath`) into a fresh folder below the temporary
// folder and starts the copy hidden, to delete our file once this process has ended and then show
// `goodbye` (none when null). Nothing is started when there is no path, no temporary folder, no
// fresh folder could be made or the copy failed; what was made for a copy that did not start is
// removed again. True when the copy was started; otherwise the uninstaller file stays. The copy
// appends to the log at `logPath` when it is not empty.
bool StartSelfRemoval(os::Os& os, os::WindowRef owner, const std::string& modulePath,
                      const Goodbye* goodbye, const std::string& logPath = {});

// The copy's side, in the "-delfile" mode: it deletes the uninstaller once its process has ended,
// schedules its own file (and the folder the uninstaller made for it) for deletion at restart,
// and says goodbye -- or says which file stays.

// Pause between deletion attempts, and how long to keep trying before giving up.
constexpr uint32_t kDelFileRetryMilliseconds = 50;
constexpr uint32_t kDelFileGiveUpMilliseconds = 10 * 60 * 1000;

// What became of the file the copy was to delete.
struct FileRemoval {
  bool gone = false;
  bool goesAtRestart = false;  // it stays, and the system accepted to delete it at restart
  os::ErrorCode code = 0;      // why the last attempt to delete it failed
};

// What a caller without a log hands as `report`.
inline constexpr auto kUnreported = [](const FileRemoval&) {};

// Deletes the file at `path` once it is released, or leaves it to the next restart after the
// bound; then schedules our own file, and its folder when the uninstaller made that, for deletion
// at restart, hands what became of the file to `report`, and shows `goodbye` unless it is null (a
// warning naming the file when it stays). True when the file is gone.
bool FinishSelfRemoval(os::Os& os, const std::string& path, const Goodbye* goodbye,
                       callable::FunctionRef<void(const FileRemoval&)> report = kUnreported);

}  // namespace uninstall
