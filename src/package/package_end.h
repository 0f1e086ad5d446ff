#pragma once
// Finding the package: the position just past the last "ZUZOri.sig" or "ScUnin.sig" in the file,
// within the part of the file a code signature covers.
#include <cstdint>
#include <optional>

#include "package/read_source.h"

namespace package {

// A signed file's PE header points at its Authenticode certificate table. The signature's hash
// covers everything in front of the table and nothing in it or behind it, so a package there
// could be anybody's: the package must end where the table begins.
struct PackageSearch {
  // PackageEnd; 0 when no marker was found, or when the one nearest to the end lies in or behind
  // the certificate table.
  int64_t end = 0;
  // The marker nearest to the end of the file lies (even in part) in or behind the certificate
  // table: someone put a package where the signature does not look. The file is tampered with.
  bool markerInCertificateTable = false;
};

// The trailer search: the marker nearest to the end of the source, whichever of the two it is.
// Data appended behind a package (a code signature, a download manager's tail) is skipped, but a
// marker in or behind a certificate table is never taken for a package.
PackageSearch SearchPackageEnd(ReadSource& source);

// PackageEnd, or empty when SearchPackageEnd finds none (or the source cannot be read).
std::optional<int64_t> FindPackageEnd(ReadSource& source);

// True when the 10 bytes at `window` are one of the two signatures.
bool IsPackageSignature(const uint8_t* window);

}  // namespace package
