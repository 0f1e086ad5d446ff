// The machine as a 64-bit program sees it: Explorer, the list of installed programs and the
// screen-saver launcher are such programs, and the system folder's redirection does not apply to
// them. The i686 suites run this 64-bit build of it; it needs nothing but the system's DLLs.
//
//   native_view exists PATH...
//     Prints each PATH that names no file; the exit code is their count.
//   native_view uninstall TITLE
//     Starts the command line of TITLE's uninstall entry as the list of programs does, answers Yes
//     to the question it asks, and ends with the uninstaller's exit code (100 and up when it
//     could not get that far).
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr DWORD kPollMs = 50;
constexpr DWORD kTimeoutMs = 120000;
constexpr int kNoEntry = 100, kNotStarted = 101, kNoQuestion = 102, kDidNotEnd = 103, kUsage = 104;

bool IsFile(const wchar_t* path) {
  const DWORD attributes = GetFileAttributesW(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int ReportMissing(int count, wchar_t** paths) {
  int missing = 0;
  for (int i = 0; i < count; ++i) {
    if (IsFile(paths[i])) continue;
    std::printf("not there: %ls\n", paths[i]);
    ++missing;
  }
  return missing;
}

// The list of programs reads both registry views; a 32-bit setup program's entry is in the
// 32-bit one.
std::wstring UninstallString(const std::wstring& title) {
  const std::wstring path = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + title;
  for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS) continue;
    wchar_t value[2048] = {};
    DWORD type = 0, size = sizeof value - sizeof(wchar_t);
    const LONG status =
        RegQueryValueExW(key, L"UninstallString", nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    if (status == ERROR_SUCCESS && type == REG_SZ) return value;
  }
  return {};
}

struct Search {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindQuestion(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (owner != search->processId || lstrcmpW(className, L"#32770") != 0 || !GetDlgItem(window, IDYES)) return TRUE;
  search->found = window;
  return FALSE;
}

int Uninstall(const std::wstring& title) {
  std::wstring commandLine = UninstallString(title);
  if (commandLine.empty()) return kNoEntry;
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};
  if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
    return kNotStarted;
  CloseHandle(started.hThread);
  Search search{started.dwProcessId, nullptr};
  for (DWORD waited = 0; !search.found && waited < kTimeoutMs; waited += kPollMs) {
    EnumWindows(FindQuestion, reinterpret_cast<LPARAM>(&search));
    if (!search.found && WaitForSingleObject(started.hProcess, kPollMs) == WAIT_OBJECT_0) break;
  }
  DWORD_PTR result = 0;
  if (!search.found || !SendMessageTimeoutW(GetDlgItem(search.found, IDYES), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG,
                                            10000, &result)) {
    TerminateProcess(started.hProcess, kNoQuestion);
    CloseHandle(started.hProcess);
    return kNoQuestion;
  }
  DWORD exitCode = kDidNotEnd;
  if (WaitForSingleObject(started.hProcess, kTimeoutMs) != WAIT_OBJECT_0) TerminateProcess(started.hProcess, kDidNotEnd);
  GetExitCodeProcess(started.hProcess, &exitCode);
  CloseHandle(started.hProcess);
  return static_cast<int>(exitCode);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc >= 2 && lstrcmpW(argv[1], L"exists") == 0) return ReportMissing(argc - 2, argv + 2);
  if (argc == 3 && lstrcmpW(argv[1], L"uninstall") == 0) return Uninstall(argv[2]);
  std::printf("usage: native_view exists PATH... | native_view uninstall TITLE\n");
  return kUsage;
}
