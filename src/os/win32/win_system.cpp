#include "os/win32/win_system.h"

#include <windows.h>
#include <ntsecapi.h>

#include <cstring>
#include <vector>

#include "os/win32/ansi_path.h"
#include "os/win32/kernel32_function.h"
#include "os/win32/text_buffer.h"
#include "os/win32/unique_handle.h"
#include "text/path_parts.h"

namespace os::win32 {

namespace {

// Not in the headers for the oldest systems we build for; the values are fixed.
constexpr DWORD kLoadLibrarySearchSystem32 = 0x00000800;
constexpr DWORD kLoadWithAlteredSearchPath = 0x00000008;

}  // namespace

bool WinSystem::RestrictDllSearchToSystemFolder() noexcept {
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  const auto setDefault =
      Kernel32Function<SetDefaultDllDirectoriesFunction>("SetDefaultDllDirectories");
  if (!setDefault) return error_.Refuse(ERROR_PROC_NOT_FOUND);
  return error_.Keep(setDefault(kLoadLibrarySearchSystem32));
}

bool WinSystem::RemoveCurrentFolderFromDllSearch() noexcept {
  using SetDllDirectoryFunction = BOOL(WINAPI*)(LPCSTR);
  const auto setDirectory = Kernel32Function<SetDllDirectoryFunction>("SetDllDirectoryA");
  if (!setDirectory) return error_.Refuse(ERROR_PROC_NOT_FOUND);
  return error_.Keep(setDirectory(""));
}

bool WinSystem::LoadSystemLibrary(const std::string& fileName) noexcept {
  std::string path =
      FillString([](char* buffer, DWORD size) { return GetSystemDirectoryA(buffer, size); });
  if (!error_.Keep(!path.empty())) return false;
  path = text::WithTrailingBackslash(path) + fileName;
  // Never freed: it must stay in memory for whoever asks for it by name later.
  return error_.Keep(LoadLibraryExA(path.c_str(), nullptr, kLoadWithAlteredSearchPath) != nullptr);
}

std::string WinSystem::CommandLine() noexcept {
  const char* commandLine = GetCommandLineA();
  return commandLine ? std::string(commandLine) : std::string();
}

// GetModuleFileNameW truncates silently and answers with the buffer size: grow until it fits.
std::string WinSystem::ModulePath() noexcept {
  std::wstring buffer(MAX_PATH, L'\0');
  while (buffer.size() <= 32768 * 2) {
    const DWORD length = GetModuleFileNameW(nullptr, &buffer[0], static_cast<DWORD>(buffer.size()));
    if (!error_.Keep(length != 0)) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      return UsableAnsiPath(buffer);
    }
    buffer.assign(buffer.size() * 2, L'\0');
  }
  return {};
}

std::optional<os::VersionInfo> WinSystem::Version() noexcept {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof(info);  // 148: the plain structure, not the EX one
  static_assert(sizeof(OSVERSIONINFOA) == 148, "the version structure the call expects");
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!error_.Keep(GetVersionExA(&info))) return std::nullopt;
#pragma GCC diagnostic pop
  os::VersionInfo version;
  version.platformId = info.dwPlatformId;
  version.major = info.dwMajorVersion;
  version.minor = info.dwMinorVersion;
  version.servicePack.assign(info.szCSDVersion,
                             strnlen(info.szCSDVersion, sizeof(info.szCSDVersion)));
  return version;
}

int WinSystem::ShowMessage(os::WindowRef owner, const std::string& text, const std::string& caption,
                           unsigned flags) noexcept {
  const int answer =
      MessageBoxA(reinterpret_cast<HWND>(owner), text.c_str(), caption.c_str(), flags);
  error_.Keep(answer != 0);
  return answer;
}

void WinSystem::Sleep(uint32_t milliseconds) noexcept { ::Sleep(milliseconds); }

// Callers ask for a few bytes: the count always fits the call's 32 bits.
bool WinSystem::RandomBytes(void* buffer, std::size_t count) noexcept {
  return error_.Keep(RtlGenRandom(buffer, static_cast<ULONG>(count)) != FALSE);
}

bool WinSystem::ClaimForThisRun(const std::string& name) noexcept {
  HANDLE mutex = CreateMutexA(nullptr, FALSE, ("Global\\" + name).c_str());
  // Read before the owner's release can change it.
  const DWORD error = GetLastError();
  UniqueHandle owner(mutex);
  // A mutex made by an administrator's or SYSTEM's run is there even where we may not open it.
  if (!owner || error == ERROR_ALREADY_EXISTS) return error_.Refuse(error);
  claim_ = std::move(owner);
  return true;
}

bool WinSystem::RunsAsLocalSystem() noexcept {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  const UniqueHandle tokenOwner(token);
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  if (size == 0) return false;
  std::vector<BYTE> user(size);
  if (!GetTokenInformation(token, TokenUser, user.data(), size, &size)) return false;
  SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
  PSID localSystem = nullptr;
  if (!AllocateAndInitializeSid(&ntAuthority, 1, SECURITY_LOCAL_SYSTEM_RID, 0, 0, 0, 0, 0, 0, 0,
                                &localSystem))
    return false;
  const bool same = EqualSid(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid, localSystem);
  FreeSid(localSystem);
  return same;
}

os::LocalTime WinSystem::Now() noexcept {
  SYSTEMTIME time{};
  GetLocalTime(&time);
  return os::LocalTime{time.wYear,   time.wMonth,  time.wDay,         time.wHour,
                       time.wMinute, time.wSecond, time.wMilliseconds};
}

std::string WinSystem::UserName() noexcept {
  return error_.KeepText(FillString([](char* buffer, DWORD size) -> DWORD {
    // Unlike most such calls it counts the NUL in what it reports, either way.
    DWORD length = size;
    if (GetUserNameA(buffer, &length)) return length > 0 ? length - 1 : 0;
    return GetLastError() == ERROR_INSUFFICIENT_BUFFER ? length : 0;
  }));
}

// TokenElevation came with Vista; asked on an older system the call fails with
// ERROR_INVALID_PARAMETER, and the answer is that nobody can tell.
std::optional<bool> WinSystem::RunsElevated() noexcept {
  UniqueHandle token;
  if (!error_.Keep(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Put())))
    return std::nullopt;
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  if (!error_.Keep(
          GetTokenInformation(token.Get(), TokenElevation, &elevation, sizeof(elevation), &size)))
    return std::nullopt;
  return elevation.TokenIsElevated != 0;
}

std::string WinSystem::ErrorText(os::ErrorCode code) noexcept {
  char buffer[1024] = {};
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                      nullptr, code, 0, buffer, sizeof(buffer), nullptr);
  std::string text(buffer, length);
  while (!text.empty() &&
         (text.back() == '\r' || text.back() == '\n' || text.back() == ' ' || text.back() == '.'))
    text.pop_back();
  return text;
}

}  // namespace os::win32
