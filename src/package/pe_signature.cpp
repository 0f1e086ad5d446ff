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

// The entry's place whether or not it is empty.
CertificatePlace FindEntrySlot(const uint8_t* header, std::size_t size) {
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
  return {optional, optional + entry};
}

CertificatePlace FindCertificateEntry(const uint8_t* header, std::size_t size) {
  const CertificatePlace place = FindEntrySlot(header, size);
  if (place.entry == 0) return {};
  const uint8_t* certificate = header + place.entry;
  if (LittleEndian(certificate, 4) == 0 && LittleEndian(certificate + 4, 4) == 0) return {};
  return place;
}

void PutLittleEndian(uint8_t* p, uint32_t value) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(value >> (8 * i));
}

}  // namespace

bool ClearCertificateEntry(uint8_t* header, std::size_t size) {
  const CertificatePlace place = FindCertificateEntry(header, size);
  if (place.entry == 0) return false;
  Zero(header + place.entry, kDirectoryEntrySize);
  Zero(header + place.optional + kCheckSumOffset, 4);
  return true;
}

bool ReadSignatureFields(const uint8_t* header, std::size_t size, SignatureFields& fields) {
  const CertificatePlace place = FindEntrySlot(header, size);
  if (place.entry == 0) return false;
  fields.checksumOffset = place.optional + kCheckSumOffset;
  fields.entryOffset = place.entry;
  fields.checksum = LittleEndian(header + fields.checksumOffset, 4);
  fields.tablePosition = LittleEndian(header + place.entry, 4);
  fields.tableSize = LittleEndian(header + place.entry + 4, 4);
  return true;
}

bool WriteSignatureFields(uint8_t* header, std::size_t size, uint32_t checksum,
                          uint32_t tablePosition, uint32_t tableSize) {
  SignatureFields fields;
  if (!ReadSignatureFields(header, size, fields)) return false;
  PutLittleEndian(header + fields.checksumOffset, checksum);
  PutLittleEndian(header + fields.entryOffset, tablePosition);
  PutLittleEndian(header + fields.entryOffset + 4, tableSize);
  return true;
}

bool HasCertificateEntry(const uint8_t* header, std::size_t size) {
  return FindCertificateEntry(header, size).entry != 0;
}

}  // namespace package
