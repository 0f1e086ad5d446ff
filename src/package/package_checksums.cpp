#include "package/package_checksums.h"

#include <vector>

#include "package/checksum.h"
#include "package/coded_image.h"
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

uint32_t ImageChecksum(ReadSource& source, int64_t packageEnd, const SettingsRecord& record) {
  ValidateImage(record, packageEnd);
  const int64_t start = ImageStart(packageEnd, record), length = ImageLength(record);
  uint8_t first[2] = {};
  uint32_t delivered = 0;
  const uint32_t wanted = length < 2 ? uint32_t(length) : 2;
  if (wanted > 0 && (!source.ReadAt(start, first, wanted, delivered) || delivered != wanted))
    throw CorruptedPackage("corrupted package: a part of it cannot be read");
  if (!IsCodedImage(first, wanted)) return ChecksumRange(source, start, length);
  int64_t position = start;
  const auto pull = [&](uint8_t* into, uint32_t count) {
    if (!source.ReadAt(position, into, count, delivered) || delivered != count)
      throw CorruptedPackage("corrupted package: a part of it cannot be read");
    position += count;
  };
  std::vector<uint8_t> input(kReadPiece), output(kReadPiece);
  return DecodeImage(length, pull, input, output, [](const uint8_t*, uint32_t, int64_t) {});
}

PackageChecksums ComputeChecksums(ReadSource& source, int64_t packageEnd,
                                  const SettingsRecord& record) {
  return {ImageChecksum(source, packageEnd, record), TextsChecksum(source, packageEnd, record),
          RecordChecksum(record)};
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
