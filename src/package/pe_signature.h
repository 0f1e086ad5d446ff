#pragma once
// A signed setup file carries, in its PE header, a pointer to the code signature that the signing
// tool appended behind the package. The uninstaller is built from the same stub bytes but has no
// such signature, and a header that still points at one past its end makes Windows report the
// uninstaller as damaged ("invalid signature") instead of merely unsigned.
#include <cstddef>
#include <cstdint>

namespace package {

// When `header` (the first bytes of a PE file) holds a certificate-table entry (data directory 4)
// that is not empty, sets that entry's position and size to 0 and the header checksum to 0, and
// returns true. Anything that is not a well-formed PE header within `size` bytes, or has no
// such entry, is left untouched (false).
bool ClearCertificateEntry(uint8_t* header, std::size_t size);

// True when `header` is a well-formed PE header whose certificate-table entry is not empty: the
// file carries an Authenticode signature (or claims to).
bool HasCertificateEntry(const uint8_t* header, std::size_t size);

}  // namespace package
