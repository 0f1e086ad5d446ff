#include "package/package_reader.h"

#include <cstring>

#include "package/errors.h"
#include "package/package_end.h"
#include "package/sections.h"

namespace package {
namespace {

constexpr uint32_t kReadPiece = 64 * 1024;

std::string ReadText(ReadSource& source, int64_t position, int32_t size) {
  return size > 0 ? ReadExactly(source, position, size) : std::string();
}

}  // namespace

std::string ReadExactly(ReadSource& source, int64_t position, int64_t length) {
  if (position < 0 || length < 0)
    throw CorruptedPackage("corrupted package: read outside the file");
  const int64_t size = source.Size();
  // Checked before allocating, so that a wild size in a damaged record cannot ask for gigabytes.
  if (size < 0 || position > size || length > size - position)
    throw CorruptedPackage("corrupted package: read beyond the end of the file");
  std::string bytes(static_cast<std::size_t>(length), '\0');
  int64_t done = 0;
  while (done < length) {
    const int64_t left = length - done;
    const uint32_t piece = left < kReadPiece ? static_cast<uint32_t>(left) : kReadPiece;
    uint32_t delivered = 0;
    source.ReadAt(position + done, &bytes[static_cast<std::size_t>(done)], piece, delivered);
    if (delivered != piece) throw CorruptedPackage("corrupted package: the file could not be read");
    done += piece;
  }
  return bytes;
}

int64_t RequirePackageEnd(ReadSource& source) {
  const PackageSearch search = SearchPackageEnd(source);
  if (search.end == 0)
    throw CorruptedPackage(search.markerInCertificateTable
                               ? "tampered: a package marker lies in or behind the code signature"
                               : "no package found: the file holds no package marker");
  return search.end;
}

SettingsRecord ReadRecord(ReadSource& source, int64_t packageEnd) {
  ValidateTrailer(packageEnd);
  const std::string bytes = ReadExactly(source, RecordStart(packageEnd), kRecordSize);
  SettingsRecord record;
  std::memcpy(record.Raw().data(), bytes.data(), kRecordSize);
  return record;
}

std::string ReadDecisionSignature(ReadSource& source, int64_t packageEnd) {
  ValidateTrailer(packageEnd);
  return ReadExactly(source, SignatureStart(packageEnd), kSignatureSize);
}

PackageKind KindOf(const std::string& decisionSignature) {
  if (decisionSignature == std::string(kSetupSignature, kSignatureSize)) return PackageKind::kSetup;
  if (decisionSignature == std::string(kUninstallSignature, kSignatureSize))
    return PackageKind::kUninstaller;
  return PackageKind::kUnknown;
}

std::string ReadLanguageText(ReadSource& source, int64_t packageEnd, const SettingsRecord& record) {
  ValidateTexts(record, packageEnd);
  return ReadText(source, LanguageStart(packageEnd, record), record.LanguageSize());
}

std::string ReadReadmeText(ReadSource& source, int64_t packageEnd, const SettingsRecord& record) {
  ValidateTexts(record, packageEnd);
  return ReadText(source, ReadmeStart(packageEnd, record), record.ReadmeSize());
}

std::string ReadLicenseText(ReadSource& source, int64_t packageEnd, const SettingsRecord& record) {
  ValidateTexts(record, packageEnd);
  return ReadText(source, LicenseStart(packageEnd, record), record.LicenseSize());
}

PackageInfo ReadPackage(ReadSource& source) {
  PackageInfo info;
  info.fileSize = source.Size();
  info.packageEnd = RequirePackageEnd(source);
  info.record = ReadRecord(source, info.packageEnd);
  info.signature = ReadDecisionSignature(source, info.packageEnd);
  info.kind = KindOf(info.signature);
  info.language = ReadLanguageText(source, info.packageEnd, info.record);
  if (info.kind == PackageKind::kSetup) ValidateImage(info.record, info.packageEnd);
  info.readme = ReadReadmeText(source, info.packageEnd, info.record);
  info.license = ReadLicenseText(source, info.packageEnd, info.record);
  return info;
}

}  // namespace package
