#include "package/pe_signature.h"

#include "package/pe_image.h"

namespace package {
namespace {

constexpr std::size_t kSizeOfOptionalHeaderOffset = 16;  // within the COFF header
constexpr uint16_t kMagicPe32 = 0x10B;
constexpr uint16_t kMagicPe32Plus = 0x20B;
constexpr std::size_t kCheckSumOffset = 64;  // within the optional header, both formats
constexpr std::size_t kCertificateDirectory = 4;
constexpr std::size_t kDirectoryEntrySize = 8;

void Zero(uint8_t* p, std::size_t width) {
  for (std::size_t i = 0; i < width; ++i) p[i] = 0;
}

// Where the directory count and the first directory entry lie in each optional-header format.
struct OptionalLayout {
  std::size_t countOffset;
  std::size_t directoriesOffset;
};

bool LayoutFor(uint16_t magic, OptionalLayout& layout) {
  if (magic == kMagicPe32)
    layout = {92, 96};
  else if (magic == kMagicPe32Plus)
    layout = {108, 112};
  else
    return false;
  return true;
}

// Where the certificate-table entry lies in a well-formed PE header that has one, and where the
// optional header (with the checksum) begins; 0 for the entry when there is none.
struct CertificatePlace {
  std::size_t optional = 0;
  std::size_t entry = 0;
};

CertificatePlace FindCertificateEntry(const uint8_t* header, std::size_t size) {
  const std::size_t pe = PeHeaderOffset(header, size);
  // Room for the optional header's magic too; every later offset is checked by subtraction.
  if (pe == 0 || size - pe < 4 + kCoffHeaderSize + 2) return {};
  const std::size_t coff = pe + 4;
  const std::size_t optionalSize = LittleEndian(header + coff + kSizeOfOptionalHeaderOffset, 2);
  const std::size_t optional = coff + kCoffHeaderSize;
  if (size - optional < optionalSize) return {};
  OptionalLayout layout{};
  if (!LayoutFor(uint16_t(LittleEndian(header + optional, 2)), layout)) return {};
  const std::size_t entry = layout.directoriesOffset + kCertificateDirectory * kDirectoryEntrySize;
  if (optionalSize < entry + kDirectoryEntrySize) return {};
  if (LittleEndian(header + optional + layout.countOffset, 4) <= kCertificateDirectory) return {};
  const uint8_t* certificate = header + optional + entry;
  if (LittleEndian(certificate, 4) == 0 && LittleEndian(certificate + 4, 4) == 0) return {};
  return {optional, optional + entry};
}

}  // namespace

bool ClearCertificateEntry(uint8_t* header, std::size_t size) {
  const CertificatePlace place = FindCertificateEntry(header, size);
  if (place.entry == 0) return false;
  Zero(header + place.entry, kDirectoryEntrySize);
  Zero(header + place.optional + kCheckSumOffset, 4);
  return true;
}

bool HasCertificateEntry(const uint8_t* header, std::size_t size) {
  return FindCertificateEntry(header, size).entry != 0;
}

}  // namespace package
