#pragma once
// Finding the package: the position just past the last "ZUZOri.sig" or "ScUnin.sig" in the file,
// within the part of the file a code signature covers.
#include <cstdint>
#include <optional>

#include "package/read_source.h"

namespace package {

// How far a package and its extension block may reach: where the Authenticode certificate table
// begins when the file's PE header points at one, the file size otherwise. A signature's hash
// covers everything in front of the table and nothing in it or behind it, so a package there
// could be anybody's. -1 when the size cannot be read.
int64_t SignedLength(ReadSource& source);

struct PackageSearch {
  // PackageEnd; empty when no marker was found, or when the one nearest to the end lies in or
  // behind the certificate table.
  std::optional<int64_t> end;
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
