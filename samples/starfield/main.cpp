// Starfield: a small screen saver, the sample that the demo packs into a setup file.
#include <windows.h>

#include "saver_args.h"
#include "saver_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  const starfield::SaverArgs args = starfield::ParseSaverArgs(GetCommandLineA());
  switch (args.mode) {
    case starfield::SaverMode::kFullScreen:
      return starfield::RunFullScreen(instance);
    case starfield::SaverMode::kPreview:
      return starfield::RunPreview(instance, reinterpret_cast<HWND>(args.window));
    case starfield::SaverMode::kPassword:
      return 0;  // no password of its own to change
    case starfield::SaverMode::kSettings: {
      // The display settings pass their dialog as owner; anything else gets a box of its own.
      HWND owner = reinterpret_cast<HWND>(args.window);
      MessageBoxA(IsWindow(owner) ? owner : nullptr,
                  "Starfield has no settings.\n\nIt shows stars flying past, and ends when you move the mouse "
                  "or press a key.",
                  "Starfield", MB_OK | MB_ICONINFORMATION);
      return 0;
    }
  }
  return 0;
}
