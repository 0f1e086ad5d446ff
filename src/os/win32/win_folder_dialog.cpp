// The folder dialog: the shell's folder browser, centred on the screen, opening at the folder
// the user already typed, and offering OK only on a real folder.
#include <vector>

#include "os/win32/ansi_path.h"
#include "os/win32/unique_handle.h"
#include "os/win32/win_shell.h"

namespace os::win32 {

namespace {

bool IsFolder(const char* path) {
  const DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void CentreOnScreen(HWND dialog) {
  RECT window{};
  if (!GetWindowRect(dialog, &window)) return;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (GetMonitorInfoA(MonitorFromWindow(dialog, MONITOR_DEFAULTTONEAREST), &monitor))
    area = monitor.rcWork;
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  const int x = area.left + (area.right - area.left - width) / 2;
  const int y = area.top + (area.bottom - area.top - height) / 2;
  SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM param, LPARAM data) {
  if (message == BFFM_INITIALIZED) {
    CentreOnScreen(dialog);
    const auto* startFolder = reinterpret_cast<const std::string*>(data);
    if (!startFolder->empty() && IsFolder(startFolder->c_str()))
      SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE,
                   reinterpret_cast<LPARAM>(startFolder->c_str()));
  } else if (message == BFFM_SELCHANGED) {
    // A folder whose name the code page cannot hold counts when it has a short name.
    const auto path = UsableItemPath(reinterpret_cast<LPCITEMIDLIST>(param));
    const bool ok = path && !path->empty() && IsFolder(path->c_str());
    SendMessageA(dialog, BFFM_ENABLEOK, 0, ok ? TRUE : FALSE);
  }
  return 0;
}

// While the dialog is open, the program's other windows take no input, as with any modal
// dialog; the shell disables only the owner itself.
// The owner is left to the dialog, which re-enables it before it goes, so that the activation
// returns to the owner rather than to another program.
class OtherWindowsDisabled {
 public:
  explicit OtherWindowsDisabled(HWND owner) : owner_(owner) {
    EnumThreadWindows(GetCurrentThreadId(), &OtherWindowsDisabled::Disable,
                      reinterpret_cast<LPARAM>(this));
  }
  OtherWindowsDisabled(const OtherWindowsDisabled&) = delete;
  OtherWindowsDisabled& operator=(const OtherWindowsDisabled&) = delete;
  ~OtherWindowsDisabled() {
    for (HWND window : disabled_)
      if (IsWindow(window)) EnableWindow(window, TRUE);
  }

 private:
  static BOOL CALLBACK Disable(HWND window, LPARAM data) {
    auto* self = reinterpret_cast<OtherWindowsDisabled*>(data);
    if (window != self->owner_ && IsWindowVisible(window) && IsWindowEnabled(window)) {
      EnableWindow(window, FALSE);
      self->disabled_.push_back(window);
    }
    return TRUE;
  }

  HWND owner_;
  std::vector<HWND> disabled_;
};

}  // namespace

std::optional<std::string> WinShell::BrowseForFolder(os::WindowRef owner,
                                                     const std::string& instruction,
                                                     const std::string& startFolder) noexcept {
  char displayName[MAX_PATH + 1] = {};
  BROWSEINFOA info{};
  info.hwndOwner = reinterpret_cast<HWND>(owner);
  info.pidlRoot = nullptr;  // the desktop
  info.pszDisplayName = displayName;
  info.lpszTitle = instruction.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS;
  info.lpfn = BrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(&startFolder);

  UniquePidl chosen;
  {
    OtherWindowsDisabled modal(info.hwndOwner);
    chosen.Reset(SHBrowseForFolderA(&info));
  }
  if (!chosen) return std::nullopt;
  const auto path = UsableItemPath(chosen.Get());
  if (!path || path->empty()) return std::nullopt;
  return *path;  // the wizard decides how the folder box shows it
}

}  // namespace os::win32
