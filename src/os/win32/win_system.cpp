#include "os/win32/win_system.h"

#include <windows.h>

#include <cstring>

#include "os/win32/ansi_path.h"

namespace os::win32 {

// GetModuleFileNameW truncates silently and answers with the buffer size: grow until it fits.
std::string WinSystem::ModulePath() {
  std::wstring buffer(MAX_PATH, L'\0');
  while (buffer.size() <= 32768 * 2) {
    const DWORD length = GetModuleFileNameW(nullptr, &buffer[0], static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      return UsableAnsiPath(buffer);
    }
    buffer.assign(buffer.size() * 2, L'\0');
  }
  return {};
}

std::optional<os::VersionInfo> WinSystem::Version() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof(info);  // 148: the plain structure, not the EX one
  static_assert(sizeof(OSVERSIONINFOA) == 148, "the version structure the call expects");
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExA(&info)) return std::nullopt;
#pragma GCC diagnostic pop
  os::VersionInfo version;
  version.platformId = info.dwPlatformId;
  version.major = info.dwMajorVersion;
  version.minor = info.dwMinorVersion;
  version.servicePack.assign(info.szCSDVersion, strnlen(info.szCSDVersion, sizeof(info.szCSDVersion)));
  return version;
}

int WinSystem::ShowMessage(os::WindowRef owner, const std::string& text, const std::string& caption,
                           unsigned flags) {
  return MessageBoxA(reinterpret_cast<HWND>(owner), text.c_str(), caption.c_str(), flags);
}

void WinSystem::Sleep(uint32_t milliseconds) { ::Sleep(milliseconds); }

}  // namespace os::win32
