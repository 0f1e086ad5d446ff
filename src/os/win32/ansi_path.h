#pragma once
// The program works on ANSI paths, but the system's own folders (the running program's file, the
// temporary folder, the user's Desktop and Start menu) may have names that the ANSI code page
// cannot hold: the ANSI calls then hand out the name with '?' or a look-alike in place of each
// such character, a path that names nothing. Such paths are asked for through the wide calls and
// handed on in a form that means the same file.
#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <string>

namespace os::win32 {

// `wide` as an ANSI path that names the same file or folder: its own ANSI form when the code
// page holds every character, else its 8.3 short form when that is ANSI. Empty when neither is
// (short names switched off on that volume): never a path with a character that was not there.
std::string UsableAnsiPath(const std::wstring& wide);

// The file-system path of a shell item the same way; nullopt when the item has none.
std::optional<std::string> UsableItemPath(LPCITEMIDLIST item);

}  // namespace os::win32
