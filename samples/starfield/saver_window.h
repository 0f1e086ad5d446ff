#pragma once
#include <windows.h>

namespace starfield {

// Runs the star field full screen until the mouse moves, a key or button is pressed, or the
// window loses activation. Returns the process exit code.
int RunFullScreen(HINSTANCE instance);

// Runs the star field as a child of the preview window `parent` (the small monitor in the
// display settings) until that window goes away.
int RunPreview(HINSTANCE instance, HWND parent);

}  // namespace starfield
