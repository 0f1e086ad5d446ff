// The start-up every window program pays under Wine, with no installing: the libraries the
// installer imports, COM and the common controls, one hidden window and its message loop until
// the window ends it. Timed against the installer, it tells Wine's share of the installer's fixed
// cost from the installer's own.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include "os/win32/unique_handle.h"

namespace {

LRESULT CALLBACK EndAtOnce(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_APP) DestroyWindow(window);
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  os::win32::ComApartment apartment;
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&controls);
  // The shell's folders, as the installer asks for them: shell32 is loaded and used.
  char programs[MAX_PATH];
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, 0, programs))) return 1;

  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = EndAtOnce;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = "BenchWindowOnly";
  if (!RegisterClassA(&windowClass)) return 2;
  HWND window = CreateWindowExA(0, windowClass.lpszClassName, "", WS_OVERLAPPEDWINDOW, 0, 0, 400,
                                300, nullptr, nullptr, instance, nullptr);
  if (!window) return 3;
  PostMessageA(window, WM_APP, 0, 0);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}
