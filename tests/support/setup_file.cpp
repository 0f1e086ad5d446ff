#include "support/setup_file.h"

#include "package/package_checksums.h"
#include "package/package_end.h"
#include "package/package_writer.h"
#include "package/read_source.h"
#include "scrpack/image_coder.h"
#include "support/pe_file.h"

namespace support {

void SetFlags(package::SettingsRecord& record, Flags flags) {
  record.SetAddUninstallEntry(flags.entry);
  record.SetAddStartMenuGroup(flags.group);
  record.SetAddDesktopShortcut(flags.desktop);
}

std::string AssembleSetupFile(const std::string& stub, SetupContents contents) {
  contents.record.SetHasExtensionBlock(contents.extension.has_value());
  if (contents.coded) contents.image = scrpack::CodedImageOf(contents.image);
  package::FillPackageFields(contents.record, int64_t(contents.image.size()),
                             int64_t(contents.readme.size()), int64_t(contents.license.size()),
                             int64_t(contents.language.size()));
  const std::string file = stub + contents.image +
                           package::PackageTail(contents.readme, contents.license,
                                                contents.language, contents.record);
  if (!contents.extension) return file;
  package::ExtensionBlock block = *contents.extension;
  if (!block.checksums) {
    package::MemoryReadSource source(file);
    block.checksums = package::ComputeChecksums(source, int64_t(file.size()), contents.record);
  }
  return file + package::EncodeExtension(block);
}

namespace {
constexpr PeLayout kStubLayout{false, 0x40};
constexpr std::size_t kCertificateEntry = kStubLayout.CertificateEntry();
}  // namespace

std::string PeStub() {
  std::string stub(0x200, '\0');
  WritePeHeaders(stub, kStubLayout);
  return stub;
}

std::string SignedLikeATool(std::string file, const std::string& table) {
  file.append((8 - file.size() % 8) % 8, '\0');
  PutLittleEndian(file, kCertificateEntry, uint32_t(file.size()), 4);
  PutLittleEndian(file, kCertificateEntry + 4, uint32_t(table.size()), 4);
  return file + table;
}

std::string ForgedInCertificateTable(std::string signedFile, const std::string& forged) {
  PutLittleEndian(signedFile, kCertificateEntry + 4,
                  GetLittleEndian(signedFile, kCertificateEntry + 4, 4) + uint32_t(forged.size()), 4);
  return signedFile + forged;
}

SetupContents StarsContents() {
  SetupContents c;
  c.image = "SCR-IMAGE:" + std::string(3000, '*');
  c.coded = true;
  c.record.SetScreensaverFileName("stars.scr");
  c.record.SetTitle("Stars");
  c.record.SetLinkText("http://stars.example.org/");
  c.record.SetDefaultFolder("<Program Files>");
  c.record.SetDefaultSubfolder("Stars");
  return c;
}

}  // namespace support
