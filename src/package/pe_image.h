#pragma once
// Where the program proper ends in a PE file: everything behind its last section is appended
// data. The stub carries the two signature texts in its own constant data, so a search that
// looked inside the program itself would "find" a package in a bare stub.
#include <cstddef>
#include <cstdint>

namespace package {

// How many leading bytes PeImageEnd wants to see (the DOS header, PE header and section table
// of any program linked the usual way).
constexpr std::size_t kPeHeaderProbe = 4096;

// The end of the last section's raw data, from the first `size` bytes of a file; 0 when they do
// not hold a well-formed PE header with its section table.
int64_t PeImageEnd(const uint8_t* header, std::size_t size);

}  // namespace package
