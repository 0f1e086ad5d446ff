#include "support/e2e_support.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>
#include <tlhelp32.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstdio>

namespace e2e {

namespace {

// Test output reaches the log as it is written, also when a test program hangs or is killed.
const int kUnbufferedStdout = (setvbuf(stdout, nullptr, _IONBF, 0), 0);

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

std::string Required(const char* name) {
  std::string value = Env(name);
  if (value.empty()) ADD_FAILURE() << name << " is not set: run the test through scripts/e2e-run";
  return value;
}

void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA found{};
  os::win32::UniqueFind search(FindFirstFileA(Join(folder, "*").c_str(), &found));
  if (search) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = Join(folder, name);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(search.Get(), &found));
  }
  search.Reset();
  RemoveDirectoryA(folder.c_str());
}

void MakeFolders(const std::string& folder) {
  if (folder.size() <= 3 || FolderExists(folder)) return;
  MakeFolders(folder.substr(0, folder.find_last_of('\\')));
  CreateDirectoryA(folder.c_str(), nullptr);
}

void ReadFolderOnce(const std::string& folder) {
  WIN32_FIND_DATAA found{};
  os::win32::UniqueFind search(FindFirstFileA(Join(folder, "*").c_str(), &found));
}

os::win32::UniqueHkey OpenRead(HKEY root, const std::string& path) {
  os::win32::UniqueHkey key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS) key.Reset();
  return key;
}

std::optional<std::pair<DWORD, std::string>> ReadRegRaw(HKEY root, const std::string& path,
                                                        const std::string& name) {
  auto key = OpenRead(root, path);
  if (!key) return std::nullopt;
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return std::nullopt;
  std::string data(size, '\0');
  if (size && RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type,
                               reinterpret_cast<BYTE*>(&data[0]), &size) != ERROR_SUCCESS)
    return std::nullopt;
  data.resize(size);
  return std::make_pair(type, data);
}

}  // namespace

// ---------------------------------------------------------------------------------------------

std::string Env(const char* name) {
  char buffer[4096] = {};
  const DWORD length = GetEnvironmentVariableA(name, buffer, sizeof(buffer));
  return length > 0 && length < sizeof(buffer) ? std::string(buffer, length) : std::string();
}

std::string StubPath() { return Required("SCR_E2E_STUB"); }
std::string SaverPath() { return Required("SCR_E2E_SAVER"); }
std::string RecorderPath() { return Required("SCR_E2E_RECORDER"); }
std::string InstallLogPath() { return Required("SCR_E2E_INSTALL_LOG"); }

std::string Join(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

std::string ScratchFolder() {
  std::string base = Env("SCR_E2E_SCRATCH");
  if (base.empty()) {
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(sizeof(temp), temp);
    base = Join(temp, "scr-e2e");
  }
  std::string name = "test";
  if (const auto* info = testing::UnitTest::GetInstance()->current_test_info())
    name = std::string(info->test_suite_name()) + "." + info->name();
  for (char& c : name)
    if (std::string("\\/:*?\"<>|").find(c) != std::string::npos) c = '_';
  const std::string folder = Join(base, name);
  RemoveTree(folder);
  MakeFolders(folder);
  if (!FolderExists(folder)) ADD_FAILURE() << "cannot make the scratch folder " << folder;
  return folder;
}

// Wine's folder dialog finds a start folder by walking its tree from the desktop and comparing
// every level byte for byte with a parsed copy, last-access dates included. Parsing the path is
// what first reads a freshly changed folder, and that read moves its access date (relatime): when
// the clock passes a two-second step in between, the walk no longer recognises the folder and the
// dialog stays at the desktop. So every folder on the way is read once here. Keep such folders on
// the prefix's own C: drive: behind Z: other programs keep changing folders such as /tmp.
bool MakeFolderForTheFolderDialog(const std::string& path) {
  RemoveTree(path);
  MakeFolders(path);
  std::string folder = path;
  while (folder.size() > 3) {  // every folder above a drive root
    ReadFolderOnce(folder);
    const size_t cut = folder.find_last_of('\\');
    if (cut == std::string::npos) break;
    folder.erase(cut);
  }
  return FolderExists(path);
}

// ---------------------------------------------------------------------------------------------

namespace {

DWORD ActiveProcesses(HANDLE job) {
  JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info{};
  if (!QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &info, sizeof(info), nullptr))
    return 0;
  return info.ActiveProcesses;
}

// Ends every process in the job and waits until they are gone, so that no file of theirs is
// still held when the next test begins.
void EndJob(os::win32::UniqueHandle job) {
  if (!job) return;
  TerminateJobObject(job.Get(), 1);
  WaitFor([&] { return ActiveProcesses(job.Get()) == 0; }, 10000);
}

// The jobs of programs that ended by themselves while a test runs. What they started may still
// be at work (the shell's verb program writing its line, the uninstaller's copy deleting the
// uninstaller): it is given until the end of the test, and is ended there if still running.
class JobsOfTheRunningTest : public testing::EmptyTestEventListener {
 public:
  static void Keep(os::win32::UniqueHandle job) {
    if (!job) return;
    if (!testing::UnitTest::GetInstance()->current_test_info()) return EndJob(std::move(job));
    static JobsOfTheRunningTest* const listener = [] {
      auto* created = new JobsOfTheRunningTest;  // the listener list owns it
      testing::UnitTest::GetInstance()->listeners().Append(created);
      return created;
    }();
    listener->jobs_.push_back(std::move(job));
  }

  void OnTestEnd(const testing::TestInfo&) override {
    for (auto& job : jobs_) EndJob(std::move(job));
    jobs_.clear();
  }

 private:
  std::vector<os::win32::UniqueHandle> jobs_;
};

}  // namespace

Process::~Process() {
  if (Running()) Kill();
  process_.Reset();
  JobsOfTheRunningTest::Keep(std::move(job_));
}

bool Process::Running() const {
  return process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT;
}

bool Process::WaitForExit(DWORD timeoutMs) const {
  return process_ && WaitForSingleObject(process_.Get(), timeoutMs) == WAIT_OBJECT_0;
}

std::optional<DWORD> Process::ExitCode() const {
  DWORD code = 0;
  if (!process_ || Running() || !GetExitCodeProcess(process_.Get(), &code)) return std::nullopt;
  return code;
}

void Process::Kill() {
  if (process_ && Running()) {
    TerminateProcess(process_.Get(), 1);
    WaitForSingleObject(process_.Get(), 10000);
  }
  // Whatever it started goes with the job.
  EndJob(std::move(job_));
  process_.Reset();
}

// A job that ends with its last handle: what the program starts cannot outlive the test.
Process Adopt(const PROCESS_INFORMATION& info) {
  Process started;
  os::win32::UniqueHandle thread(info.hThread);
  started.process_.Reset(info.hProcess);
  started.id_ = info.dwProcessId;
  started.job_.Reset(CreateJobObjectA(nullptr, nullptr));
  if (started.job_) {
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(started.job_.Get(), JobObjectExtendedLimitInformation, &limits, sizeof(limits));
    if (!AssignProcessToJobObject(started.job_.Get(), info.hProcess)) started.job_.Reset();
  }
  ResumeThread(thread.Get());
  return started;
}

namespace {

// What Wine means by the errors its CreateProcess gives where Windows would not.
const char* StartFailure(DWORD error) {
  if (error == ERROR_INTERNAL_ERROR)
    return ": the new process ended before its start-up was complete, with exit code 0, as a "
           "process killed during its start-up does";
  return "";
}

// Wine gives ERROR_INTERNAL_ERROR when the new process ends before it told the server that its
// start-up is done, which a suspended process does before any code of the program runs; seen
// now and then under load. Nothing of the program under test took part, so the start is tried
// again, a few times, and the test's output says so.
template <typename Create>
bool CreateProcessRetried(const Create& create, DWORD& error) {
  for (int attempt = 1; attempt <= 3; ++attempt) {
    if (create()) return true;
    error = GetLastError();
    if (error != ERROR_INTERNAL_ERROR) return false;
    std::printf("CreateProcess failed in Wine's start-up of the process (attempt %d)\n", attempt);
  }
  return false;
}

}  // namespace

Process StartProcess(const std::string& commandLine, const std::string& currentFolder) {
  std::string mutableLine = commandLine;
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  DWORD error = 0;
  if (!CreateProcessRetried(
          [&] {
            return CreateProcessA(nullptr, &mutableLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                                  currentFolder.empty() ? nullptr : currentFolder.c_str(), &startup, &info);
          },
          error)) {
    ADD_FAILURE() << "CreateProcessA failed (" << error << StartFailure(error) << "): " << commandLine;
    return Process();
  }
  return Adopt(info);
}

Process StartProcess(const std::wstring& commandLine) {
  std::wstring mutableLine = commandLine;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  DWORD error = 0;
  if (!CreateProcessRetried(
          [&] {
            return CreateProcessW(nullptr, &mutableLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                                  nullptr, &startup, &info);
          },
          error)) {
    ADD_FAILURE() << "CreateProcessW failed (" << error << StartFailure(error) << ")";
    return Process();
  }
  return Adopt(info);
}

std::string Quote(const std::string& argument) { return "\"" + argument + "\""; }

std::optional<DWORD> RunSilent(const std::string& program, const std::string& folderArgument) {
  return RunUnattended(program, folderArgument.empty() ? "-silent" : "-silent " + Quote(folderArgument));
}

std::optional<DWORD> RunUnattended(const std::string& program, const std::string& arguments) {
  Process process = StartProcess(Quote(program) + " " + arguments);
  EXPECT_TRUE(process.Started()) << program;
  if (!process.WaitForExit()) return std::nullopt;
  EXPECT_TRUE(TopLevelWindows(process.Id()).empty()) << "a window was left behind";
  return process.ExitCode();
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    // Unsigned arithmetic: right across the wrap of the tick count too.
    if (GetTickCount() - start >= timeoutMs) return condition();
    Sleep(kPollMs);
  }
}

// ---------------------------------------------------------------------------------------------

std::string ClassOf(HWND window) {
  char buffer[256] = {};
  const int length = GetClassNameA(window, buffer, sizeof(buffer));
  return std::string(buffer, length > 0 ? length : 0);
}

std::string TextOf(HWND window) {
  // WM_GETTEXT rather than GetWindowTextA: it reads controls of other processes too.
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return {};
  std::string text(length + 1, '\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                           SMTO_ABORTIFHUNG, 5000, &copied))
    return {};
  text.resize(std::min<size_t>(copied, length));
  return text;
}

namespace {

// One window procedure of the right calling convention for every walk, on both pointer sizes.
BOOL CALLBACK VisitWindow(HWND window, LPARAM visit) {
  return (*reinterpret_cast<const std::function<bool(HWND)>*>(visit))(window) ? TRUE : FALSE;
}

}  // namespace

void ForEachTopLevelWindow(const std::function<bool(HWND)>& visit) {
  EnumWindows(VisitWindow, reinterpret_cast<LPARAM>(&visit));
}

void ForEachChild(HWND parent, const std::function<bool(HWND)>& visit) {
  EnumChildWindows(parent, VisitWindow, reinterpret_cast<LPARAM>(&visit));
}

std::vector<HWND> TopLevelWindows(DWORD processId, bool visibleOnly) {
  std::vector<HWND> found;
  ForEachTopLevelWindow([&](HWND window) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == processId && (!visibleOnly || IsWindowVisible(window))) found.push_back(window);
    return true;
  });
  return found;
}

HWND FindWindowOf(const Process& process, const std::string& className, const std::string& caption) {
  for (HWND window : TopLevelWindows(process.Id(), false)) {
    if (!className.empty() && ClassOf(window) != className) continue;
    if (!caption.empty() && TextOf(window) != caption) continue;
    return window;
  }
  return nullptr;
}

HWND WaitForWindow(const Process& process, const std::string& className, const std::string& caption,
                   DWORD timeoutMs) {
  HWND found = nullptr;
  WaitFor([&] { return (found = FindWindowOf(process, className, caption)) != nullptr; }, timeoutMs);
  return found;
}

HWND ChildById(HWND parent, int id) {
  HWND found = nullptr;
  ForEachChild(parent, [&](HWND child) {
    if (GetDlgCtrlID(child) == id) found = child;
    return found == nullptr;
  });
  return found;
}

bool ClickButton(HWND parent, int id) {
  HWND button = ChildById(parent, id);
  if (!button) return false;
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 10000, &result) != 0;
}

bool MessageBoxInfo::HasButton(int id) const {
  return std::any_of(buttons.begin(), buttons.end(), [id](const auto& b) { return b.first == id; });
}

std::optional<MessageBoxInfo> ReadMessageBox(HWND dialog) {
  if (!dialog || ClassOf(dialog) != "#32770") return std::nullopt;
  HWND textControl = ChildById(dialog, 0xFFFF);
  if (!textControl) return std::nullopt;
  MessageBoxInfo info;
  info.window = dialog;
  info.caption = TextOf(dialog);
  info.text = TextOf(textControl);
  ForEachChild(dialog, [&](HWND child) {
    const std::string kind = Lower(ClassOf(child));
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    if (kind == "button" && IsWindowVisible(child)) info.buttons.emplace_back(GetDlgCtrlID(child), TextOf(child));
    if (kind == "static" && (style & SS_TYPEMASK) == SS_ICON && IsWindowVisible(child)) info.hasIcon = true;
    return true;
  });
  return info;
}

std::optional<MessageBoxInfo> WaitForMessageBox(const Process& process, const std::string& caption,
                                                DWORD timeoutMs) {
  std::optional<MessageBoxInfo> box;
  WaitFor(
      [&] {
        for (HWND window : TopLevelWindows(process.Id(), true)) {
          box = ReadMessageBox(window);
          if (box && (caption.empty() || box->caption == caption)) return true;
        }
        box.reset();
        return false;
      },
      timeoutMs);
  return box;
}

// ---------------------------------------------------------------------------------------------

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::string> ReadFileBytes(const std::string& path) {
  os::win32::UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  std::string bytes;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file.Get(), buffer, sizeof(buffer), &got, nullptr) && got > 0) bytes.append(buffer, got);
  return bytes;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  os::win32::UniqueFile file(
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return file && WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

bool CopyFileTo(const std::string& from, const std::string& to) {
  return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

std::string ShortPath(const std::string& path) {
  char buffer[MAX_PATH + 1] = {};
  const DWORD length = GetShortPathNameA(path.c_str(), buffer, sizeof(buffer));
  return length > 0 && length < sizeof(buffer) ? std::string(buffer, length) : std::string();
}

std::string StubBytes() {
  const auto stub = ReadFileBytes(StubPath());
  EXPECT_TRUE(stub) << "cannot read the stub " << StubPath();
  return stub.value_or("");
}

std::string SetupFileBytes(const support::SetupContents& contents) {
  // The tests' images are no programs, so that Wine's shell hands them to the "install" verb
  // instead of starting them; the setup program takes such bytes only coded, as scrpack writes
  // them by default.
  support::SetupContents coded = contents;
  coded.coded = coded.coded || coded.image.compare(0, 2, "MZ") != 0;
  return support::AssembleSetupFile(StubBytes(), coded);
}

std::string WriteSetupFile(const std::string& folder, const std::string& name, const std::string& bytes) {
  const std::string path = Join(folder, name);
  EXPECT_TRUE(WriteFileBytes(path, bytes)) << path;
  return path;
}

std::vector<std::vector<std::string>> InstallLog() {
  std::vector<std::vector<std::string>> lines;
  const auto bytes = ReadFileBytes(InstallLogPath());
  if (!bytes) return lines;
  std::vector<std::string> fields(1);
  for (char c : *bytes) {
    if (c == '\r') continue;
    if (c == '\n') {
      lines.push_back(fields);
      fields.assign(1, std::string());
    } else if (c == '\t') {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return lines;
}

std::wstring Widen(const std::string& ansi) {
  if (ansi.empty()) return {};
  const int length = static_cast<int>(ansi.size());
  const int size = MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, &wide[0], size);
  return wide;
}

bool OutsideTheCodePage(const std::wstring& text) {
  BOOL lost = FALSE;
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), -1, nullptr, 0, nullptr, &lost);
  return lost != FALSE;
}

bool ExistsW(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool MakeFoldersW(const std::wstring& path) {
  const std::size_t cut = path.find_last_of(L'\\');
  if (cut != std::wstring::npos && cut > 2 && !ExistsW(path.substr(0, cut)) && !MakeFoldersW(path.substr(0, cut)))
    return false;
  return CreateDirectoryW(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

// ---------------------------------------------------------------------------------------------

bool RegKeyExists(HKEY root, const std::string& path) { return static_cast<bool>(OpenRead(root, path)); }

std::optional<std::string> ReadRegString(HKEY root, const std::string& path, const std::string& name) {
  auto raw = ReadRegRaw(root, path, name);
  if (!raw || (raw->first != REG_SZ && raw->first != REG_EXPAND_SZ)) return std::nullopt;
  return raw->second.substr(0, raw->second.find('\0'));
}

std::optional<std::vector<std::string>> ReadRegMultiString(HKEY root, const std::string& path,
                                                           const std::string& name) {
  auto raw = ReadRegRaw(root, path, name);
  if (!raw || raw->first != REG_MULTI_SZ) return std::nullopt;
  // Every NUL ends a string; the empty string after the last one ends the list.
  std::vector<std::string> strings;
  std::string current;
  for (char c : raw->second) {
    if (c == '\0') {
      strings.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) strings.push_back(current);
  if (!strings.empty() && strings.back().empty()) strings.pop_back();
  return strings;
}

std::vector<std::string> RegValueNames(HKEY root, const std::string& path) {
  std::vector<std::string> names;
  auto key = OpenRead(root, path);
  if (!key) return names;
  for (DWORD index = 0;; ++index) {
    char name[16384];
    DWORD length = sizeof(name);
    if (RegEnumValueA(key.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    names.emplace_back(name, length);
  }
  return names;
}

std::vector<std::string> RegSubkeyNames(HKEY root, const std::string& path) {
  std::vector<std::string> names;
  auto key = OpenRead(root, path);
  if (!key) return names;
  for (DWORD index = 0;; ++index) {
    char name[256];
    DWORD length = sizeof(name);
    if (RegEnumKeyExA(key.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    names.emplace_back(name, length);
  }
  return names;
}

std::vector<std::string> PendingRebootDeletions() {
  std::vector<std::string> deletions;
  auto list = ReadRegMultiString(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager",
                                 "PendingFileRenameOperations");
  if (!list) return deletions;
  // Pairs of (source, destination); an empty destination means "delete".
  for (size_t i = 0; i < list->size(); i += 2) {
    const std::string destination = i + 1 < list->size() ? (*list)[i + 1] : std::string();
    if (!destination.empty()) continue;
    std::string source = (*list)[i];
    if (source.rfind("\\??\\", 0) == 0) source.erase(0, 4);
    deletions.push_back(source);
  }
  return deletions;
}

// ---------------------------------------------------------------------------------------------

std::optional<LinkInfo> ReadShellLink(const std::string& path) {
  os::win32::ComApartment apartment;
  Microsoft::WRL::ComPtr<IShellLinkA> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(link.GetAddressOf()))))
    return std::nullopt;
  Microsoft::WRL::ComPtr<IPersistFile> file;
  if (FAILED(link.As(&file))) return std::nullopt;
  WCHAR widePath[MAX_PATH] = {};
  if (!MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH)) return std::nullopt;
  if (FAILED(file->Load(widePath, STGM_READ))) return std::nullopt;
  LinkInfo info;
  char buffer[MAX_PATH * 4] = {};
  if (SUCCEEDED(link->GetPath(buffer, sizeof(buffer), nullptr, SLGP_RAWPATH))) info.target = buffer;
  buffer[0] = '\0';
  if (SUCCEEDED(link->GetArguments(buffer, sizeof(buffer)))) info.arguments = buffer;
  buffer[0] = '\0';
  if (SUCCEEDED(link->GetWorkingDirectory(buffer, sizeof(buffer)))) info.workingFolder = buffer;
  buffer[0] = '\0';
  int index = 0;
  if (SUCCEEDED(link->GetIconLocation(buffer, sizeof(buffer), &index))) {
    info.iconPath = buffer;
    info.iconIndex = index;
  }
  return info;
}

bool SamePath(const std::string& a, const std::string& b) { return Lower(a) == Lower(b); }

std::string SpecialFolderPath(int csidl) {
  char path[MAX_PATH + 1] = {};
  return SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE) ? path : std::string();
}
std::vector<std::string> FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(Join(folder, "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}
std::vector<DWORD> ProcessesNamed(const std::string& exeName) {
  std::vector<DWORD> ids;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return ids;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
    if (SamePath(entry.szExeFile, exeName)) ids.push_back(entry.th32ProcessID);
  CloseHandle(snapshot);
  return ids;
}

void KillProcessesNamed(const std::string& exeName) {
  for (DWORD id : ProcessesNamed(exeName)) {
    if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id)) {
      TerminateProcess(process, 1);
      WaitForSingleObject(process, kTimeoutMs);
      CloseHandle(process);
    }
  }
}


std::vector<uint32_t> ScreenPixels(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  std::vector<uint32_t> pixels;
  if (width <= 0 || height <= 0) return pixels;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  pixels.resize(std::size_t(width) * std::size_t(height));
  if (!GetDIBits(memory, bitmap, 0, UINT(height), pixels.data(), &info, DIB_RGB_COLORS)) pixels.clear();
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

}  // namespace e2e
