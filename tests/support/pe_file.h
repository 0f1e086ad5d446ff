#pragma once
// PE programs made in memory, for the tests of whatever reads their headers: the "MZ" header with
// its e_lfanew, "PE\0\0", the COFF header and an optional header (PE32 or PE32+) with its 16 data
// directories, followed by the section table, where linkers put them.
#include <cstddef>
#include <cstdint>
#include <string>

namespace support {

constexpr uint16_t kPeMachineI386 = 0x14C;
constexpr uint16_t kPeMachineAmd64 = 0x8664;

// Where the fields lie in a program whose "PE\0\0" is at `pe`.
struct PeLayout {
  bool plus = false;  // PE32+, as 64-bit programs have it
  std::size_t pe = 0x80;

  constexpr std::size_t Machine() const { return pe + 4; }
  constexpr std::size_t SectionCount() const { return pe + 6; }
  constexpr std::size_t OptionalSizeField() const { return pe + 20; }
  constexpr std::size_t Characteristics() const { return pe + 22; }
  constexpr std::size_t Optional() const { return pe + 24; }
  constexpr uint16_t OptionalSize() const { return plus ? 240 : 224; }
  constexpr std::size_t CheckSum() const { return Optional() + 64; }
  constexpr std::size_t Subsystem() const { return Optional() + 68; }
  constexpr std::size_t DirectoryCount() const { return Optional() + (plus ? 108 : 92); }
  // Entry `index` of the data directories: 4 is the certificate table.
  constexpr std::size_t Directory(int index) const {
    return Optional() + (plus ? 112 : 96) + 8 * std::size_t(index);
  }
  constexpr std::size_t CertificateEntry() const { return Directory(4); }
  constexpr std::size_t SectionTable() const { return Optional() + OptionalSize(); }
};

// A little-endian field of `width` bytes (at most 4).
void PutLittleEndian(std::string& bytes, std::size_t at, uint32_t value, int width);
uint32_t GetLittleEndian(const std::string& bytes, std::size_t at, int width);

// Writes the headers of `layout` into `bytes`, which must hold them: the "MZ", e_lfanew, the
// signature, the machine (i386, or x86-64 for PE32+), the optional header's size and magic, and 16
// data directories. No section yet; every other byte stays as it was.
void WritePeHeaders(std::string& bytes, const PeLayout& layout);

// Adds a section whose raw data lies at `rawOffset` and is `rawSize` bytes long.
void AddPeSection(std::string& bytes, const PeLayout& layout, uint32_t rawOffset,
                  uint32_t rawSize);

}  // namespace support
