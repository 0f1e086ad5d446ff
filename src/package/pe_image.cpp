#include "package/pe_image.h"

namespace package {
namespace {

constexpr std::size_t kLfanewOffset = 0x3C;
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kMaxSections = 96;  // the loader's own limit

}  // namespace

uint32_t LittleEndian(const uint8_t* p, std::size_t width) {
  uint32_t v = 0;
  for (std::size_t i = 0; i < width; ++i) v |= uint32_t(p[i]) << (8 * i);
  return v;
}

std::size_t PeHeaderOffset(const uint8_t* header, std::size_t size) {
  if (header == nullptr || size < kLfanewOffset + 4 || header[0] != 'M' || header[1] != 'Z')
    return 0;
  const std::size_t pe = LittleEndian(header + kLfanewOffset, 4);
  // Every later offset is checked against `size` by subtraction, so none can wrap around.
  if (pe > size || size - pe < 4 + kCoffHeaderSize) return 0;
  if (LittleEndian(header + pe, 4) != 0x00004550) return 0;  // "PE\0\0"
  return pe;
}

int64_t PeImageEnd(const uint8_t* header, std::size_t size) {
  const std::size_t pe = PeHeaderOffset(header, size);
  if (pe == 0) return 0;
  const std::size_t sections = LittleEndian(header + pe + 4 + 2, 2);
  const std::size_t optionalSize = LittleEndian(header + pe + 4 + 16, 2);
  const std::size_t table = pe + 4 + kCoffHeaderSize + optionalSize;
  if (sections == 0 || sections > kMaxSections || table > size ||
      (size - table) / kSectionHeaderSize < sections)
    return 0;
  int64_t end = 0;
  for (std::size_t i = 0; i < sections; ++i) {
    const uint8_t* section = header + table + i * kSectionHeaderSize;
    const int64_t rawEnd =
        int64_t(LittleEndian(section + 20, 4)) + int64_t(LittleEndian(section + 16, 4));
    if (LittleEndian(section + 16, 4) != 0 && rawEnd > end) end = rawEnd;
  }
  return end;
}

bool ReadPeKind(const uint8_t* header, std::size_t size, PeKind& kind) {
  constexpr std::size_t kSubsystemOffset = 68;  // within the optional header, both formats
  const std::size_t pe = PeHeaderOffset(header, size);
  if (pe == 0) return false;
  const std::size_t optional = pe + 4 + kCoffHeaderSize;
  const std::size_t optionalSize = LittleEndian(header + pe + 4 + 16, 2);
  if (optionalSize < kSubsystemOffset + 2 || size - optional < kSubsystemOffset + 2) return false;
  kind.machine = uint16_t(LittleEndian(header + pe + 4, 2));
  kind.characteristics = uint16_t(LittleEndian(header + pe + 4 + 18, 2));
  kind.subsystem = uint16_t(LittleEndian(header + optional + kSubsystemOffset, 2));
  return true;
}

}  // namespace package
