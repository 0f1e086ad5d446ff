#pragma once
// The folder the uninstaller puts its short-lived copy into.
#include <string>

#include "os/files.h"

namespace uninstall {

// The system's temporary folder, ending in a backslash. When the system names none, the
// Windows folder's "Temp" subfolder (created when missing) stands in: never the current folder,
// which could be anything, and never the uninstaller's own folder, which the copy could not
// leave tidy. The empty text when neither is usable: the caller then makes no copy, and the
// uninstaller file simply stays behind.
std::string TempFolder(os::Files& files);

}  // namespace uninstall
