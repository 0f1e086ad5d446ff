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

// Where a PE header keeps what code signing changes: the header checksum and the certificate-
// table entry (the table's file position and size). Authenticode hashes everything else.
struct SignatureFields {
  uint32_t checksum = 0;
  uint32_t tablePosition = 0;
  uint32_t tableSize = 0;
  std::size_t checksumOffset = 0;  // where the three lie in the header
  std::size_t entryOffset = 0;
};

// False when `header` is not a well-formed PE header with a certificate-table entry (empty or not).
bool ReadSignatureFields(const uint8_t* header, std::size_t size, SignatureFields& fields);

// Sets the three fields; false (nothing changed) where ReadSignatureFields would fail.
bool WriteSignatureFields(uint8_t* header, std::size_t size, uint32_t checksum,
                          uint32_t tablePosition, uint32_t tableSize);

}  // namespace package
