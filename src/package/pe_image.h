#pragma once
// Where the program proper ends in a PE file: everything behind its last section is appended
// data. The stub carries the two signature texts in its own constant data, so a search that
// looked inside the program itself would "find" a package in a bare stub.
#include <cstddef>
#include <cstdint>

namespace package {

constexpr std::size_t kCoffHeaderSize = 20;

// A little-endian field of `width` bytes (at most 4).
uint32_t LittleEndian(const uint8_t* p, std::size_t width);

// Where the "PE\0\0" signature lies when the first `size` bytes start with "MZ" and hold the
// signature and a whole COFF header behind it; 0 otherwise (the "MZ" header is never there).
std::size_t PeHeaderOffset(const uint8_t* header, std::size_t size);

// How many leading bytes PeImageEnd wants to see (the DOS header, PE header and section table
// of any program linked the usual way).
constexpr std::size_t kPeHeaderProbe = 4096;

// The end of the last section's raw data, from the first `size` bytes of a file; 0 when they do
// not hold a well-formed PE header with its section table.
int64_t PeImageEnd(const uint8_t* header, std::size_t size);

// What kind of program a PE header describes.
struct PeKind {
  uint16_t machine = 0;          // 0x14C i386, 0x8664 x86-64, ...
  uint16_t characteristics = 0;  // 0x2000: a DLL
  uint16_t subsystem = 0;        // 2: Windows GUI, 3: console
};
constexpr uint16_t kMachineI386 = 0x14C;
constexpr uint16_t kMachineAmd64 = 0x8664;
constexpr uint16_t kSubsystemWindowsGui = 2;
constexpr uint16_t kCharacteristicDll = 0x2000;

// The kind from the first `size` bytes of a file; false when they hold no well-formed PE header
// with an optional header long enough to name the subsystem.
bool ReadPeKind(const uint8_t* header, std::size_t size, PeKind& kind);

}  // namespace package
