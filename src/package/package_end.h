#pragma once
// Finding the package: the position just past the last "ZUZOri.sig" or "ScUnin.sig" in the file.
#include <cstdint>
#include <optional>

#include "package/read_source.h"

namespace package {

// PackageEnd: the end of the signature nearest to the end of the source, whichever of the two it
// is. Data appended behind a package (a code signature, a download manager's tail) is skipped.
// Empty when no signature is found or the source cannot be read.
std::optional<int64_t> FindPackageEnd(ReadSource& source);

// True when the 10 bytes at `window` are one of the two signatures.
bool IsPackageSignature(const uint8_t* window);

}  // namespace package
