#pragma once
// Which folder paths Windows can create. A colon anywhere but after the drive letter names an
// alternate data stream, and some names are devices: CreateDirectory refuses them, and a path
// split at such a colon never gets shorter.
#include <string>

namespace text {

// A drive-letter path ("C:\...") or a UNC path ("\\server\share\..."), also behind "\\?\":
// anything else is read against a current folder.
bool IsFullyQualifiedPath(const std::string& path);

// False when any level of the folder path could not be created by Windows: a colon other than
// the drive's, a character no name may hold (* ? " < > | and control characters), or a device
// name (CON, NUL, COM1, ...) as one of its levels. Relative paths and an empty text pass.
bool IsCreatableFolderPath(const std::string& path);

}  // namespace text
