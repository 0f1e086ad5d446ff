#include "support/pe_file.h"

namespace support {

namespace {
constexpr uint32_t kPeSignature = 0x00004550;  // "PE\0\0"
constexpr std::size_t kLfanew = 0x3C;
constexpr std::size_t kSectionHeaderSize = 40;
constexpr uint32_t kDirectoryCount = 16;
}  // namespace

void PutLittleEndian(std::string& bytes, std::size_t at, uint32_t value, int width) {
  for (int i = 0; i < width; ++i) bytes[at + i] = char(uint8_t(value >> (8 * i)));
}

uint32_t GetLittleEndian(const std::string& bytes, std::size_t at, int width) {
  uint32_t value = 0;
  for (int i = 0; i < width; ++i) value |= uint32_t(uint8_t(bytes[at + i])) << (8 * i);
  return value;
}

void WritePeHeaders(std::string& bytes, const PeLayout& layout) {
  bytes[0] = 'M';
  bytes[1] = 'Z';
  PutLittleEndian(bytes, kLfanew, uint32_t(layout.pe), 4);
  PutLittleEndian(bytes, layout.pe, kPeSignature, 4);
  PutLittleEndian(bytes, layout.Machine(), layout.plus ? kPeMachineAmd64 : kPeMachineI386, 2);
  PutLittleEndian(bytes, layout.SectionCount(), 0, 2);
  PutLittleEndian(bytes, layout.OptionalSizeField(), layout.OptionalSize(), 2);
  PutLittleEndian(bytes, layout.Optional(), layout.plus ? 0x20B : 0x10B, 2);
  PutLittleEndian(bytes, layout.DirectoryCount(), kDirectoryCount, 4);
}

void AddPeSection(std::string& bytes, const PeLayout& layout, uint32_t rawOffset,
                  uint32_t rawSize) {
  const uint32_t count = GetLittleEndian(bytes, layout.SectionCount(), 2);
  const std::size_t header = layout.SectionTable() + kSectionHeaderSize * count;
  PutLittleEndian(bytes, header + 16, rawSize, 4);
  PutLittleEndian(bytes, header + 20, rawOffset, 4);
  PutLittleEndian(bytes, layout.SectionCount(), count + 1, 2);
}

}  // namespace support
