#include "package/package_checksums.h"

#include <vector>

#include "package/checksum.h"
#include "package/errors.h"
#include "package/sections.h"

namespace package {
namespace {

constexpr uint32_t kReadPiece = 1 << 20;

uint32_t ChecksumRange(ReadSource& source, int64_t position, int64_t length) {
  std::vector<uint8_t> piece(static_cast<std::size_t>(length < kReadPiece ? length : kReadPiece));
  uint32_t crc = 0;
  while (length > 0) {
    const uint32_t wanted = length < kReadPiece ? uint32_t(length) : kReadPiece;
    uint32_t delivered = 0;
    if (!source.ReadAt(position, piece.data(), wanted, delivered) || delivered != wanted)
      throw CorruptedPackage("corrupted package: a part of it cannot be read");
    crc = Crc32c(crc, piece.data(), wanted);
    position += wanted;
    length -= wanted;
  }
  return crc;
}

}  // namespace

uint32_t RecordChecksum(const SettingsRecord& record) {
  return Crc32c(0, record.Raw().data(), kRecordSize);
}

uint32_t TextsChecksum(ReadSource& source, int64_t packageEnd, const SettingsRecord& record) {
  ValidateTexts(record, packageEnd);
  return ChecksumRange(source, TextsStart(packageEnd, record), record.TextsSize());
}

PackageChecksums ComputeChecksums(ReadSource& source, int64_t packageEnd,
                                  const SettingsRecord& record) {
  ValidateImage(record, packageEnd);
  return {ChecksumRange(source, ImageStart(packageEnd, record), ImageLength(record)),
          TextsChecksum(source, packageEnd, record), RecordChecksum(record)};
}

void RequireIntactTextsAndRecord(ReadSource& source, int64_t packageEnd,
                                 const SettingsRecord& record, const ExtensionBlock& block) {
  if (!block.checksums) return;
  if (RecordChecksum(record) != block.checksums->record)
    throw CorruptedPackage("corrupted package: the settings differ from their checksum");
  if (TextsChecksum(source, packageEnd, record) != block.checksums->texts)
    throw CorruptedPackage("corrupted package: the texts differ from their checksum");
}

}  // namespace package
