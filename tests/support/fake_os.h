#pragma once
// An in-memory stand-in for the whole OS boundary, for fast tests and fault injection.
//
//   fake::FakeOs fake;                       // C:\, C:\windows, C:\windows\temp and the three
//   os::Os os = fake.Os();                   // special folders exist; everything else is empty
//   fake.files.AddFile("C:\\setup.exe", bytes);
//   fake.system.SetModulePath("C:\\setup.exe");
//   fake.FailNth("Read", 3);                 // the third Read of the run fails
//   RunSomething(os);
//   EXPECT_LT(fake.log.IndexOf("DeleteFile C:\\x.scr"), fake.log.IndexOf("RegDeleteKey HKLM\\..."));
//
// Every call through the interfaces is appended to `log` as a `Call` before it acts; its line
// reads "<Op> <subject>[ <detail>]" and gains " [failed]" when the call failed. Operation names:
//   files:    OpenFile (detail: mode name), CloseFile, Read (detail: count), Write (detail: count),
//             Seek (detail: position), Size, Position, DeleteFile, CreateFolder, RemoveFolder,
//             Attributes, FileExists, CopyFile (subject: from, detail: "-> to"), DeleteAtReboot,
//             FullPathName, ShortPathName, LongPathName, TempPath, WindowsDirectory, CreatePrivateFolder
//   registry: RegOpenKey, RegCreateKey, RegDeleteKey, RegCloseKey (subject "HKCU\path" or
//             "HKLM\path"), RegSetValue, RegQueryValue, RegDeleteValue (subject "HKCU\path\name",
//             RegSetValue detail: the value in double quotes), RegEnumValues, RegSubkeyCount,
//             RegSubkeyName (detail: index)
//   shell:    ShellExecute (subject: file, detail: verb=.. params=.. dir=.. show=..),
//             SpecialFolder (subject: csidl number), SaveLink (subject: link path, detail: target),
//             BrowseForFolder (subject: start folder)
//   system:   RestrictDllSearch, SetDllDirectory, LoadSystemLibrary (subject: file name),
//             CommandLine, ModulePath, Version, ShowMessage (subject: caption, detail: text),
//             Sleep (subject: ms), RandomBytes (subject: count), Now, UserName, RunsElevated,
//             ErrorText (subject: code)
//   form:     FakeFormHost calls, when it shares this log (see fake_form_host.h)
//
// Failing a call (FailWhen/FailOn/FailNth) gives the result the real API gives on failure: null
// file/key, false, -1, empty text, nullopt, E_FAIL for SaveLink, 2 for ShellExecute, 0 for
// ShowMessage. A failed call changes nothing. The object it was made on then tells a system error
// code through LastError(): the one the rule names, else 112 (disk full) for Write, 30 (read
// fault) for Read and 5 (access denied) for anything else. Failures of the fake's own, as
// Windows would fail the call, give Windows' code: 2 for a missing file or key, 3 for a missing
// folder, 32 for a file held open, 80 for CreateNew on a taken name, 112 for a full disk, 183
// for a folder that exists.
//
// The file system follows Windows where it matters to callers: paths compare case-insensitively
// (ASCII folding) and are stored as first given, '/' counts as '\', relative paths resolve
// against `SetCurrentFolder`, a file's parent folder must exist, opens without sharing conflict
// with every other open of the same file, an open file cannot be deleted, replaced or removed.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "os/os.h"

namespace fake {

struct Call {
  std::string op;       // "OpenFile", "RegSetValue", ...
  std::string subject;  // path, key path, file, caption
  std::string detail;   // mode, value, parameters; may be empty
  int ordinal = 0;      // 1 for the first call of this op in the run, 2 for the second, ...
  bool failed = false;
  os::ErrorCode code = 0;  // the system error code a failed call leaves
  std::string Line() const;  // "<op> <subject>[ <detail>][ [failed]]"
};

// The chronological record shared by all fakes of one FakeOs.
class CallLog {
 public:
  const std::vector<Call>& Calls() const { return calls_; }
  std::vector<std::string> Lines() const;
  std::vector<std::string> LinesOf(const std::string& op) const;
  int Count(const std::string& op) const;
  // Index of the first line that starts with `linePrefix`, or -1. For asserting order.
  int IndexOf(const std::string& linePrefix) const;
  bool Contains(const std::string& linePrefix) const { return IndexOf(linePrefix) >= 0; }
  std::string Dump() const;  // every line, one per row: handy in failure messages
  void Clear() { calls_.clear(); counts_.clear(); }

  // Fault injection: each call is offered to every rule; the first that returns true fails it,
  // with `code` (0: the default of the call's kind).
  void FailWhen(std::function<bool(const Call&)> rule, os::ErrorCode code = 0) {
    rules_.emplace_back(std::move(rule), code);
  }
  void ClearFaults() { rules_.clear(); }

  // Records a call; returns false when a rule says it must fail (the caller then fails it).
  bool Record(const std::string& op, const std::string& subject, const std::string& detail = {});
  // Marks the last recorded call as failed for a reason of the fake itself (not a rule).
  void MarkLastFailed(os::ErrorCode code = 0);
  os::ErrorCode LastCode() const;  // of the last recorded call; 0 when it did not fail

 private:
  std::vector<Call> calls_;
  std::map<std::string, int> counts_;
  std::vector<std::pair<std::function<bool(const Call&)>, os::ErrorCode>> rules_;
};

// What every fake object of the boundary does with the shared log: records its calls in it, and
// keeps the code of its own last failed call, as the real objects do.
class Recorder {
 public:
  explicit Recorder(std::shared_ptr<CallLog> log) : log_(std::move(log)) {}

 protected:
  bool Note(const std::string& op, const std::string& subject, const std::string& detail = {});
  void MarkFailed(os::ErrorCode code = 0);
  os::ErrorCode Code() const { return code_; }

  std::shared_ptr<CallLog> log_;

 private:
  os::ErrorCode code_ = 0;
};

// ASCII case folding, as Windows compares paths and registry names.
std::string Fold(const std::string& text);

struct FileNode;
struct FsState;

class FakeFiles : public os::Files, private Recorder {
 public:
  explicit FakeFiles(std::shared_ptr<CallLog> log);
  ~FakeFiles() override;

  // Set-up helpers: not logged, never fail, create missing parent folders.
  void AddFolder(const std::string& path);
  void AddFile(const std::string& path, const std::string& bytes);
  void SetAttributesOf(const std::string& path, uint32_t attributes);
  void SetCurrentFolder(const std::string& path);
  void SetTempPath(const std::string& path) { tempPath_ = path; }            // "" = none
  void SetWindowsDirectory(const std::string& path) { windowsDirectory_ = path; }
  // A 32-bit program on 64-bit Windows: its system folder and where writes to it really go.
  void SetSystemDirectories(const std::string& system, const std::string& wow64) {
    systemDirectory_ = system;
    systemWow64Directory_ = wow64;
  }
  void SetShortPath(const std::string& longPath, const std::string& shortPath);
  // Free space of the disk: writes beyond it deliver what fits and fail. Unset = unlimited.
  void SetFreeSpace(std::optional<uint64_t> bytes);

  // Inspection: not logged.
  bool HasFile(const std::string& path) const;
  bool HasFolder(const std::string& path) const;
  // Made by CreatePrivateFolder (and not removed since).
  bool IsPrivateFolder(const std::string& path) const;
  std::optional<std::string> Content(const std::string& path) const;  // nullopt: no such file
  std::vector<std::string> Entries() const;  // every file and folder path, as stored, sorted
  int OpenHandles(const std::string& path) const;
  const std::vector<std::string>& RebootDeletions() const { return rebootDeletions_; }
  // Resolves like FullPathName, without logging; "" for an empty path.
  std::string Resolve(const std::string& path) const;

  // os::Files
  std::unique_ptr<os::File> Open(const std::string& path, os::OpenMode mode) noexcept override;
  bool DeleteFileAt(const std::string& path) noexcept override;
  bool CreateFolder(const std::string& path) noexcept override;
  bool CreatePrivateFolder(const std::string& path) noexcept override;
  bool RemoveFolder(const std::string& path) noexcept override;
  uint32_t Attributes(const std::string& path) noexcept override;
  bool FileExists(const std::string& path) noexcept override;
  bool RenameFile(const std::string& from, const std::string& to) noexcept override;
  bool MoveOver(const std::string& from, const std::string& to) noexcept override;
  bool CopyFileTo(const std::string& from, const std::string& to, bool failIfExists) noexcept override;
  bool DeleteAtReboot(const std::string& path) noexcept override;
  std::string FullPathName(const std::string& path) noexcept override;
  std::string ShortPathName(const std::string& path) noexcept override;
  std::string LongPathName(const std::string& path) noexcept override;
  std::string TempPath() noexcept override;
  std::string WindowsDirectory() noexcept override;
  std::string SystemDirectory() noexcept override;
  std::string SystemWow64Directory() noexcept override;
  os::ErrorCode LastError() const override { return Code(); }

 private:
  std::shared_ptr<FileNode> Find(const std::string& fullPath) const;
  bool ParentIsFolder(const std::string& fullPath) const;
  std::shared_ptr<FileNode> MakeNode(const std::string& fullPath, bool folder);
  bool Fail(os::ErrorCode code = 0);

  std::shared_ptr<FsState> state_;
  std::string currentFolder_ = "C:\\";
  std::string tempPath_ = "C:\\windows\\temp\\";
  std::string windowsDirectory_ = "C:\\windows";
  std::string systemDirectory_ = "C:\\windows\\system32";
  std::string systemWow64Directory_;  // a native program
  std::map<std::string, std::string> shortPaths_;  // folded long path -> short path
  std::vector<std::string> rebootDeletions_;
  std::vector<std::string> privateFolders_;  // folded full paths
};

struct KeyNode;

class FakeRegistry : public os::Registry, private Recorder {
 public:
  explicit FakeRegistry(std::shared_ptr<CallLog> log);
  ~FakeRegistry() override;

  // Set-up and inspection helpers: not logged.
  void SetString(os::RegRoot root, const std::string& path, const std::string& name,
                 const std::string& value);                // creates the key; REG_SZ, NUL counted
  void SetValue(os::RegRoot root, const std::string& path, const std::string& name,
                const os::RegValue& value);
  bool HasKey(os::RegRoot root, const std::string& path) const;
  std::optional<os::RegValue> Value(os::RegRoot root, const std::string& path,
                                    const std::string& name) const;
  // The string as a reader sees it: data up to the first NUL. nullopt: no such value.
  std::optional<std::string> StringValue(os::RegRoot root, const std::string& path,
                                         const std::string& name) const;
  std::vector<std::string> KeyPaths(os::RegRoot root) const;  // every key below the root, sorted

  // os::Registry
  std::unique_ptr<os::RegKey> OpenKey(os::RegRoot root, const std::string& path) noexcept override;
  std::unique_ptr<os::RegKey> CreateKey(os::RegRoot root, const std::string& path) noexcept override;
  bool DeleteKey(os::RegRoot root, const std::string& path) noexcept override;
  os::ErrorCode LastError() const override { return Code(); }

 private:
  std::shared_ptr<KeyNode> Find(os::RegRoot root, const std::string& path) const;
  std::shared_ptr<KeyNode> Make(os::RegRoot root, const std::string& path);
  std::shared_ptr<KeyNode> currentUser_;
  std::shared_ptr<KeyNode> localMachine_;
};

struct Execution {
  os::WindowRef owner = 0;
  std::string verb, file, parameters, directory;
  int show = 0;
};

struct BrowseRequest {
  os::WindowRef owner = 0;
  std::string instruction, startFolder;
};

class FakeShell : public os::Shell, private Recorder {
 public:
  FakeShell(std::shared_ptr<CallLog> log, FakeFiles& files);

  void SetSpecialFolder(int csidl, std::optional<std::string> path) { folders_[csidl] = path; }
  void SetExecuteResult(intptr_t result) { executeResult_ = result; }
  // Answers of the folder dialog, used in turn; when none are left the dialog is cancelled.
  void QueueBrowseAnswer(std::optional<std::string> answer) { browseAnswers_.push_back(answer); }
  // Called on every Execute, after recording: lets a test play the started program.
  std::function<void(const Execution&)> onExecute;

  const std::vector<Execution>& Executions() const { return executions_; }
  const std::vector<BrowseRequest>& BrowseRequests() const { return browseRequests_; }
  // The link saved last at that path (case-insensitive), or nullopt.
  std::optional<os::ShellLink> LinkAt(const std::string& path) const;

  // os::Shell
  intptr_t Execute(os::WindowRef owner, const std::string& verb, const std::string& file,
                   const std::string& parameters, const std::string& directory, int show) noexcept override;
  std::optional<std::string> SpecialFolder(os::WindowRef owner, int csidl) noexcept override;
  int32_t SaveLink(const os::ShellLink& link, const std::string& linkPath) noexcept override;
  std::optional<std::string> BrowseForFolder(os::WindowRef owner, const std::string& instruction,
                                             const std::string& startFolder) noexcept override;
  os::ErrorCode LastError() const override { return Code(); }

 private:
  FakeFiles& files_;
  std::map<int, std::optional<std::string>> folders_;
  intptr_t executeResult_ = 42;
  std::vector<Execution> executions_;
  std::vector<std::optional<std::string>> browseAnswers_;
  std::vector<BrowseRequest> browseRequests_;
  std::map<std::string, os::ShellLink> links_;  // folded path -> link
};

struct Message {
  os::WindowRef owner = 0;
  std::string text, caption;
  unsigned flags = 0;
};

class FakeSystem : public os::System, private Recorder {
 public:
  explicit FakeSystem(std::shared_ptr<CallLog> log);

  void SetModulePath(const std::string& path) { modulePath_ = path; }
  void SetCommandLine(const std::string& commandLine) { commandLine_ = commandLine; }
  // False: the system lacks SetDefaultDllDirectories, as before Windows 8 without its update.
  bool hasDefaultDllDirectories = true;
  // Bytes the generator hands out next, in turn; when none are queued it counts up from 1.
  void QueueRandom(const std::string& bytes) { randomQueue_ += bytes; }
  void SetVersion(std::optional<os::VersionInfo> version) { version_ = version; }
  // Answers of message boxes, used in turn; when none are left: `defaultYesNoAnswer` for boxes
  // with MB_YESNO, IDOK (1) for the others.
  void QueueAnswer(int answer) { answers_.push_back(answer); }
  int defaultYesNoAnswer = os::kIdYes;
  bool localSystem = false;  // the account the program runs under
  std::vector<std::string> claimedElsewhere;  // names another process holds
  // Called on every ShowMessage, after recording, before answering.
  std::function<void(const Message&)> onShowMessage;
  os::LocalTime now{2026, 12, 10, 9, 5, 7, 42};  // what the clock says, always
  std::string userName = "tester";
  std::optional<bool> elevated = false;
  // Called on every Sleep with the total slept so far: lets a test change the world over time.
  std::function<void(uint64_t totalMilliseconds)> onSleep;

  const std::vector<Message>& Messages() const { return messages_; }
  uint64_t SleptMilliseconds() const { return slept_; }
  int SleepCount() const { return sleeps_; }

  // os::System
  bool RestrictDllSearchToSystemFolder() noexcept override;
  bool RemoveCurrentFolderFromDllSearch() noexcept override;
  bool LoadSystemLibrary(const std::string& fileName) noexcept override;
  std::string CommandLine() noexcept override;
  std::string ModulePath() noexcept override;
  std::optional<os::VersionInfo> Version() noexcept override;
  int ShowMessage(os::WindowRef owner, const std::string& text, const std::string& caption,
                  unsigned flags) noexcept override;
  void Sleep(uint32_t milliseconds) noexcept override;
  bool RandomBytes(void* buffer, std::size_t count) noexcept override;
  bool RunsAsLocalSystem() noexcept override;
  bool ClaimForThisRun(const std::string& name) noexcept override;
  os::LocalTime Now() noexcept override;
  std::string UserName() noexcept override;
  std::optional<bool> RunsElevated() noexcept override;
  // "System text for <code>".
  std::string ErrorText(os::ErrorCode code) noexcept override;
  os::ErrorCode LastError() const override { return Code(); }

 private:
  std::string commandLine_ = "C:\\setup.exe";
  std::string randomQueue_;
  uint8_t randomCounter_ = 0;
  std::string modulePath_ = "C:\\setup.exe";
  std::optional<os::VersionInfo> version_ = os::VersionInfo{2, 6, 1, "Service Pack 1"};
  std::vector<int> answers_;
  std::vector<Message> messages_;
  uint64_t slept_ = 0;
  int sleeps_ = 0;
};

// Default special folders of a fresh FakeOs (they exist as folders in the fake file system).
constexpr char kFakeDesktop[] = "C:\\users\\tester\\Desktop";
constexpr char kFakePrograms[] =
    "C:\\users\\tester\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs";
constexpr char kFakeProgramFiles[] = "C:\\Program Files";
constexpr char kFakeCommonDesktop[] = "C:\\users\\Public\\Desktop";
constexpr char kFakeCommonPrograms[] = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs";

class FakeOs {
 public:
  FakeOs();
  FakeOs(const FakeOs&) = delete;
  FakeOs& operator=(const FakeOs&) = delete;

  os::Os Os() { return os::Os{files, registry, shell, system}; }

  // Fault injection, shorthand for log.FailWhen(...).
  void FailWhen(std::function<bool(const Call&)> rule) { log.FailWhen(std::move(rule)); }
  // Every call of `op` whose subject contains `subjectPart` (case-insensitive) fails, leaving
  // `code` (0: the default of the call's kind).
  void FailOn(const std::string& op, const std::string& subjectPart = {}, os::ErrorCode code = 0);
  // The n-th call (1-based) of `op` fails.
  void FailNth(const std::string& op, int n, os::ErrorCode code = 0);

  std::shared_ptr<CallLog> sharedLog;  // shared with the fakes and with a FakeFormHost
  CallLog& log;
  FakeFiles files;
  FakeRegistry registry;
  FakeShell shell;
  FakeSystem system;
};

}  // namespace fake
