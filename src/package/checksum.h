#pragma once
// CRC-32C (the Castagnoli polynomial, as in iSCSI and ext4): the checksum that guards a package's
// image, texts and record. x86 processors since 2008 compute it in one instruction per 4 bytes (8
// in a 64-bit program), so checking a 256 MB image as it is copied costs a fraction of the copy
// itself; older ones use a table, a byte at a time per slice of four.
#include <cstddef>
#include <cstdint>

namespace package {

// Continues `crc` (0 to begin) over `size` more bytes: Crc32c(Crc32c(0, a), b) is the checksum
// of a followed by b.
uint32_t Crc32c(uint32_t crc, const void* data, std::size_t size);

// The same with the table alone, whatever the processor offers (so tests can compare the two).
uint32_t Crc32cByTable(uint32_t crc, const void* data, std::size_t size);

}  // namespace package
