#pragma once
// What a signing tool may change in a PE file: the header checksum and the certificate-table
// entry; and what it may add: up to 7 zero bytes of alignment, then the certificate table, to the
// end of the file, exactly where the entry points. Anything else means the signature was made for
// other bytes, and the setup program could not reproduce the signed file.
#include <cstdint>
#include <string>

namespace scrpack {

struct AppendedSignature {
  uint32_t checksum = 0;  // the signed file's header checksum
  uint32_t padding = 0;
  std::string table;
};

// Compares the signed copy with the file it was made from and returns what signing added.
// `what` names the signed copy in messages. Throws std::runtime_error saying what differs.
AppendedSignature ReadAppendedSignature(const std::string& unsignedPath,
                                        const std::string& signedPath, const std::string& what);

}  // namespace scrpack
