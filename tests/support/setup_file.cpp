#include "support/setup_file.h"

#include "package/package_checksums.h"
#include "package/package_end.h"
#include "package/package_writer.h"
#include "package/read_source.h"
#include "scrpack/image_coder.h"

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

constexpr std::size_t kPe = 0x40;
constexpr std::size_t kCertificateEntry = kPe + 24 + 96 + 4 * 8;  // PE32: data directory 4

void Put32(std::string& bytes, std::size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = char(uint8_t(value >> (8 * i)));
}

uint32_t Get32(const std::string& bytes, std::size_t at) {
  uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value |= uint32_t(uint8_t(bytes[at + i])) << (8 * i);
  return value;
}

}  // namespace

std::string PeStub() {
  std::string stub(0x200, '\0');
  stub[0] = 'M';
  stub[1] = 'Z';
  Put32(stub, 0x3C, kPe);
  Put32(stub, kPe, 0x00004550);  // "PE\0\0"
  Put32(stub, kPe + 4 + 16, 224);  // SizeOfOptionalHeader
  Put32(stub, kPe + 24, 0x10B);
  Put32(stub, kPe + 24 + 92, 16);  // data directories
  return stub;
}

std::string SignedLikeATool(std::string file, const std::string& table) {
  file.append((8 - file.size() % 8) % 8, '\0');
  Put32(file, kCertificateEntry, uint32_t(file.size()));
  Put32(file, kCertificateEntry + 4, uint32_t(table.size()));
  return file + table;
}

std::string ForgedInCertificateTable(std::string signedFile, const std::string& forged) {
  Put32(signedFile, kCertificateEntry + 4, Get32(signedFile, kCertificateEntry + 4) + uint32_t(forged.size()));
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
