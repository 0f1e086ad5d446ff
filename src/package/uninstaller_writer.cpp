#include "package/uninstaller_writer.h"

#include <string>
#include <vector>

#include "os/files.h"
#include "package/errors.h"
#include "package/package_checksums.h"
#include "package/pe_signature.h"
#include "package/sections.h"

namespace package {
namespace {

constexpr uint32_t kCopyPiece = 64 * 1024;

void WriteAll(os::File& out, const void* bytes, uint32_t count, const char* what) {
  uint32_t written = 0;
  if (!out.Write(bytes, count, written) || written != count)
    throw WriteError(std::string("could not write ") + what + " of the uninstaller");
}

// Reads exactly `count` bytes at the source's current position.
void ReadAll(os::File& source, void* bytes, uint32_t count, const char* what) {
  uint32_t delivered = 0;
  if (!source.Read(bytes, count, delivered) || delivered != count)
    throw WriteError(std::string("could not read ") + what + " from the setup file");
}

// Copies `length` bytes from `position` of the source; `firstPiece` may adjust the first piece.
template <typename Adjust>
void CopyRange(os::File& source, os::File& out, int64_t position, int64_t length, const char* what,
               Adjust firstPiece) {
  if (!source.Seek(position))
    throw WriteError(std::string("could not find ") + what + " in the setup file");
  std::vector<uint8_t> buffer(static_cast<std::size_t>(length < kCopyPiece ? length : kCopyPiece));
  bool first = true;
  for (int64_t left = length; left > 0;) {
    const uint32_t piece = left < kCopyPiece ? static_cast<uint32_t>(left) : kCopyPiece;
    ReadAll(source, buffer.data(), piece, what);
    if (first) firstPiece(buffer.data(), piece);
    first = false;
    WriteAll(out, buffer.data(), piece, what);
    left -= piece;
  }
}

void CopyUninstallerStub(os::File& source, os::File& out, int64_t packageEnd,
                         const SettingsRecord& record, const UninstallerSignature* signature) {
  ValidateImage(record, packageEnd);
  const int64_t tablePosition =
      UninstallerLength(packageEnd, record) + (signature ? signature->padding : 0);
  CopyRange(source, out, 0, StubLength(packageEnd, record), "the program",
            [&](uint8_t* bytes, uint32_t count) {
              ClearCertificateEntry(bytes, count);
              if (signature)
                WriteSignatureFields(bytes, count, signature->peChecksum, uint32_t(tablePosition),
                                     uint32_t(signature->table.size()));
            });
}

void CopyUninstallerTexts(os::File& source, os::File& out, int64_t packageEnd,
                          const SettingsRecord& record) {
  ValidateTexts(record, packageEnd);
  if (record.TextsSize() == 0) return;
  CopyRange(source, out, TextsStart(packageEnd, record), record.TextsSize(), "the texts",
            [](uint8_t*, uint32_t) {});
}

void WriteUninstallerTrailer(os::File& out, const SettingsRecord& record) {
  WriteAll(out, record.Raw().data(), kRecordSize, "the settings");
  WriteAll(out, kUninstallSignature, kSignatureSize, "the marker");
}

void WriteCertificateTable(os::File& out, const UninstallerSignature& signature) {
  const uint8_t zeros[kMaxSignaturePadding] = {};
  if (signature.padding > 0) WriteAll(out, zeros, signature.padding, "the signature's padding");
  WriteAll(out, signature.table.data(), uint32_t(signature.table.size()), "the signature");
}

// Below 4 GB, where the certificate entry's 32-bit position can point.
bool TableFitsEntry(int64_t uninstallerLength, const UninstallerSignature& signature) {
  return uninstallerLength + signature.padding + int64_t(signature.table.size()) <= 0xFFFFFFFFLL;
}

}  // namespace

int64_t UninstallerLength(int64_t packageEnd, const SettingsRecord& record) {
  return StubLength(packageEnd, record) + int64_t(record.TextsSize()) + kTrailerSize;
}

bool SignatureFits(const UninstallerSignature& signature, const SettingsRecord& record) {
  return !signature.table.empty() && signature.padding <= kMaxSignaturePadding &&
         signature.recordChecksum == RecordChecksum(record);
}

void WriteUninstaller(os::File& source, os::File& out, int64_t packageEnd,
                      const SettingsRecord& record, const UninstallerSignature* signature) {
  // Checked before the first byte is written, so a damaged record leaves an empty file.
  ValidateImage(record, packageEnd);
  if (signature && (!SignatureFits(*signature, record) ||
                    !TableFitsEntry(UninstallerLength(packageEnd, record), *signature)))
    signature = nullptr;
  CopyUninstallerStub(source, out, packageEnd, record, signature);
  CopyUninstallerTexts(source, out, packageEnd, record);
  WriteUninstallerTrailer(out, record);
  if (signature) WriteCertificateTable(out, *signature);
}

}  // namespace package
