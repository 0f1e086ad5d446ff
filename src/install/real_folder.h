#pragma once
// On 64-bit Windows the system sends a 32-bit program's writes to its system folder into the
// 32-bit system folder (SysWOW64). The Screen Saver settings, Explorer and the list of programs
// are 64-bit programs and see the real system folder, so every path the installation records,
// registers, links or hands to the shell must name the folder where the files really are.
#include <string>

#include "os/files.h"

namespace install {

// The folder (ending in a backslash) where files written into `folder` really land: the 32-bit
// system folder for the system folder and the folders below it, under that redirection, when
// the system shows the folder there; else `folder` unchanged.
std::string RealFolderOf(os::Files& files, const std::string& folder);

}  // namespace install
