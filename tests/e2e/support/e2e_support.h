#pragma once
// What the end-to-end tests need around the real programs under Wine: where things are, a
// scratch folder per test, processes that are always cleaned up, waiting for conditions, and
// reading back windows, message boxes, files, registry values and shell links.
//
// The runner (scripts/e2e-run) sets, as Windows paths:
//   SCR_E2E_STUB         the setup stub (scrstub.exe)
//   SCR_E2E_SAVER        the sample screen saver (starfield.scr), when it was built
//   SCR_E2E_RECORDER     the program registered as the shell's "install" verb for .scr files
//   SCR_E2E_INSTALL_LOG  the file that program appends to: one line per call, the arguments
//                        separated by tabs
//   SCR_E2E_SCRATCH      a folder the tests may fill; ScratchFolder() makes one per test in it
//
// Never sleep for a fixed time: wait for the condition with WaitFor and a generous timeout.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "os/win32/unique_handle.h"
#include "support/setup_file.h"

namespace e2e {

// Generous: Wine on a loaded machine with two cores can take seconds to show a first window.
constexpr DWORD kTimeoutMs = 60000;
constexpr DWORD kPollMs = 25;

// ---- the program's own texts and places, as the tests expect to find them
constexpr char kAppTitle[] = "Screensaver Setup";
constexpr char kCorrupted[] = "The file is corrupted. Setup can not continue.";
constexpr char kUninstallRoot[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr char kSaverKeyRoot[] = "Software\\Somnivex\\";
constexpr char kCopyName[] = "ZUZOrilderuninst0.exe";  // the uninstaller's temporary copy

// ---- where things are
std::string Env(const char* name);  // empty when unset
std::string StubPath();
std::string SaverPath();
std::string RecorderPath();
std::string InstallLogPath();
// A fresh, empty folder for the running test (named after it), without a trailing backslash.
std::string ScratchFolder();
// Joins a folder and a name with one backslash.
std::string Join(const std::string& folder, const std::string& name);

// ---- processes
// A started program, in a job with every process it starts. Destroying it ends the program if it
// is still running. What a program that ended by itself started goes on until the running test
// ends: the shell's verb program or the uninstaller's temporary copy does its work after the
// program is gone, and the test checks that work later. Kill ends them all at once.
class Process {
 public:
  Process() = default;
  Process(Process&&) = default;
  Process& operator=(Process&&) = default;
  ~Process();

  bool Started() const { return process_.Valid(); }
  DWORD Id() const { return id_; }
  HANDLE Handle() const { return process_.Get(); }
  bool Running() const;
  bool WaitForExit(DWORD timeoutMs = kTimeoutMs) const;
  std::optional<DWORD> ExitCode() const;  // nullopt while running
  void Kill();

 private:
  friend Process StartProcess(const std::string&, const std::string&);
  friend Process Adopt(const PROCESS_INFORMATION&);
  os::win32::UniqueHandle job_;
  os::win32::UniqueHandle process_;
  DWORD id_ = 0;
};

// CreateProcessA with this whole command line (quote the program path yourself when it holds
// blanks), in `currentFolder` when given. Check Started() for the result.
Process StartProcess(const std::string& commandLine, const std::string& currentFolder = {});
// CreateProcessW: for a program whose path the ANSI code page cannot hold, which then sees its
// own path in full, as it does when the user starts it.
Process StartProcess(const std::wstring& commandLine);
// Puts double quotes around one argument.
std::string Quote(const std::string& argument);
// Runs the program with -silent (and the folder, when given) to its end; its exit code, or
// nullopt when it did not end. No window of its own may be left behind, message boxes included.
std::optional<DWORD> RunSilent(const std::string& program, const std::string& folderArgument = {});
// The same with these arguments after the program's path.
std::optional<DWORD> RunUnattended(const std::string& program, const std::string& arguments);

// ---- waiting
// Polls `condition` every kPollMs until it holds or `timeoutMs` passed; true when it held.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = kTimeoutMs);

// ---- windows
std::string ClassOf(HWND window);
std::string TextOf(HWND window);
// Calls `visit` for every top-level window, or every child (at any depth), until it answers false.
void ForEachTopLevelWindow(const std::function<bool(HWND)>& visit);
void ForEachChild(HWND parent, const std::function<bool(HWND)>& visit);
// Top-level windows of the process (visible or not), in Z order.
std::vector<HWND> TopLevelWindows(DWORD processId, bool visibleOnly = true);
// The first top-level window of the process with that class and caption; an empty class or
// caption matches any. Null when none.
HWND FindWindowOf(const Process& process, const std::string& className, const std::string& caption = {});
HWND WaitForWindow(const Process& process, const std::string& className, const std::string& caption = {},
                   DWORD timeoutMs = kTimeoutMs);
// A child (at any depth) with that control ID, or null.
HWND ChildById(HWND parent, int id);
// Clicks a button of another process's window (BM_CLICK); false when there is no such button or
// the window did not answer in time.
bool ClickButton(HWND parent, int id);

struct MessageBoxInfo {
  HWND window = nullptr;
  std::string caption;
  std::string text;
  std::vector<std::pair<int, std::string>> buttons;  // control ID, caption
  bool hasIcon = false;
  bool HasButton(int id) const;
};
std::optional<MessageBoxInfo> ReadMessageBox(HWND dialog);
// The first message box ("#32770" with a text control 65535) of the process, optionally with
// that caption.
std::optional<MessageBoxInfo> WaitForMessageBox(const Process& process, const std::string& caption = {},
                                                DWORD timeoutMs = kTimeoutMs);

// ---- files
bool FileExists(const std::string& path);    // a file, not a folder
bool FolderExists(const std::string& path);
std::optional<std::string> ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::string& bytes);
bool CopyFileTo(const std::string& from, const std::string& to);
std::string ShortPath(const std::string& path);  // empty on failure
// The stub under test; empty, and a failure of the test, when it cannot be read.
std::string StubBytes();
// A setup file made of the stub under test and these contents.
std::string SetupFileBytes(const support::SetupContents& contents);
// Writes `bytes` as the file `name` in `folder` (a failure of the test when it cannot); its path.
std::string WriteSetupFile(const std::string& folder, const std::string& name, const std::string& bytes);
// Makes a fresh, empty folder for the shell's folder dialog to open at (see the .cpp).
bool MakeFolderForTheFolderDialog(const std::string& path);
// The lines of the install recorder's log, each split at its tabs.
std::vector<std::vector<std::string>> InstallLog();

// Names outside the ANSI code page, through the wide calls.
std::wstring Widen(const std::string& ansi);
bool MakeFoldersW(const std::wstring& path);  // with every missing folder above it
bool ExistsW(const std::wstring& path);       // a file or a folder
// True when the ANSI code page of this system lacks a character of `text`: what the tests of
// such names need, or they would prove nothing.
bool OutsideTheCodePage(const std::wstring& text);

// ---- registry
bool RegKeyExists(HKEY root, const std::string& path);
std::optional<std::string> ReadRegString(HKEY root, const std::string& path, const std::string& name);
// REG_MULTI_SZ as its strings (empty strings inside the list kept, the final terminator not).
std::optional<std::vector<std::string>> ReadRegMultiString(HKEY root, const std::string& path,
                                                           const std::string& name);
std::vector<std::string> RegValueNames(HKEY root, const std::string& path);
std::vector<std::string> RegSubkeyNames(HKEY root, const std::string& path);
// Every path the system was asked to delete at restart (from PendingFileRenameOperations,
// without the "\??\" prefix).
std::vector<std::string> PendingRebootDeletions();

// ---- shell links
struct LinkInfo {
  std::string target;
  std::string arguments;
  std::string workingFolder;
  std::string iconPath;
  int iconIndex = 0;
};
std::optional<LinkInfo> ReadShellLink(const std::string& path);

// ASCII case-insensitive comparison, as Windows compares paths.
bool SamePath(const std::string& a, const std::string& b);

// ---- looking around
// The window's pixels as the screen shows them, 32 bits each; empty when they cannot be read.
std::vector<uint32_t> ScreenPixels(HWND window);
std::string SpecialFolderPath(int csidl);                          // the shell's folder, or empty
std::vector<std::string> FolderEntries(const std::string& folder);  // names, sorted, no . and ..
// Ids of running processes started from a file of that name: processes the shell started for
// a program under test are not ours by handle.
std::vector<DWORD> ProcessesNamed(const std::string& exeName);
// Ends each of them and waits until it has ended.
void KillProcessesNamed(const std::string& exeName);

}  // namespace e2e
