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
#include <string>

#include "os/os.h"

namespace uninstall {

// The copy's file name, the same in every run: the folder around it is what differs.
constexpr char kTempCopyName[] = "ZUZOrilderuninst0.exe";
// The per-run folder: this prefix and 16 hexadecimal digits from the system's random generator.
constexpr char kRunFolderPrefix[] = "ZUZOrilder-";
constexpr std::size_t kRunFolderRandomBytes = 8;
// A name that is taken is never reused; a few fresh draws, then we give up.
constexpr int kRunFolderAttempts = 4;

// "-delfile <path> "<caption>" "<message>"". The path goes in its short form, which has no
// blanks; on a volume without short names it is quoted instead, so the copy never receives a
// cut path (which might name an unrelated file). Caption and message go in quotes as they are.
std::string DelFileCommandLine(const std::string& uninstallerPath, const std::string& caption,
                               const std::string& message);

// Copies the running program (its file at `modulePath`) into a fresh folder below the temporary
// folder and starts the copy hidden, to delete our file once this process has ended and then show
// `message`. Nothing is started when there is no path, no temporary folder, no fresh folder could
// be made or the copy failed; what was made for a copy that did not start is removed again. True
// when the copy was started; otherwise the uninstaller file stays.
bool StartSelfRemoval(os::Os& os, os::WindowRef owner, const std::string& modulePath,
                      const std::string& caption, const std::string& message);

// For the copy: the folder the uninstaller made for it when `ownPath` is such a copy (its name
// and its folder's name as made above), else the empty text. Only such a folder is ours to remove.
std::string RunFolderOfCopy(const std::string& ownPath);

}  // namespace uninstall
