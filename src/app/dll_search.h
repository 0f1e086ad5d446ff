#pragma once
// Where this program lets Windows look for DLLs. By default Windows looks in the program's own
// folder before the system folder, also when a system DLL loads a helper for us (theming, the
// shell's dialogs, COM). A setup file usually runs from a Downloads folder and the uninstaller's
// copy from a temporary one, often elevated: a DLL planted there must never be loaded.
#include "os/system.h"

namespace app {

// DLLs that system components load by bare name after we start, found with the loader's trace
// (WINEDEBUG=+loaddll) of every mode: the theming library and the drawing helper that it
// delay-loads when it first paints a themed control. A delay-load does not always follow the
// restricted search (Wine's loader, and systems that lack the restriction), so these come from
// the system folder at start-up, and the later bare-name loads find them in memory.
constexpr const char* kHelperDlls[] = {"uxtheme.dll", "msimg32.dll"};

// Restricts the DLL search to the system folder, or where the system cannot, takes the current
// folder out of it; then loads the helpers above from the system folder. Call it before
// anything else, in every mode.
void ProtectDllSearch(os::System& system);

}  // namespace app
