#pragma once
// A folder only its maker and the machine's administrators can reach: where we put a program
// that we start, often elevated, from a folder other users may write to.
#include <string>

namespace os::win32 {

// CreateDirectoryA with a protected DACL granting full control to the current user,
// Administrators and SYSTEM, inherited by what is put inside. Fails when anything of that name
// already exists (CreateDirectoryA never follows or reuses it) or the DACL cannot be built.
bool CreatePrivateFolderA(const std::string& path);

}  // namespace os::win32
