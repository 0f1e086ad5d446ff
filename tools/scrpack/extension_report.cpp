#include "scrpack/extension_report.h"

#include <cstdio>
#include <cstring>

#include "integration/saver_file_name.h"
#include "package/coded_image.h"
#include "package/package_checksums.h"
#include "package/uninstaller_writer.h"
#include "scrpack/ansi_text.h"

namespace scrpack {
namespace {

std::string Hex(uint32_t value) {
  char text[11];
  std::snprintf(text, sizeof text, "0x%08x", static_cast<unsigned>(value));
  return text;
}

PartState Compare(uint32_t actual, uint32_t expected) {
  return actual == expected ? PartState::kIntact : PartState::kDamaged;
}

}  // namespace

FoundBlock FindBlock(package::ReadSource& source, const package::PackageInfo& info) {
  const int64_t packageEnd = info.packageEnd;
  FoundBlock found;
  found.required = info.kind == package::PackageKind::kSetup && info.record.HasExtensionBlock();
  if (auto block = package::ReadExtension(source, packageEnd)) {
    found.state = BlockState::kPresent;
    found.block = std::move(*block);
    return found;
  }
  // Not usable: tell a block that is there from trailing data of another kind.
  uint8_t header[package::kExtensionHeaderSize] = {};
  uint32_t delivered = 0;
  if (!source.ReadAt(packageEnd, header, sizeof header, delivered) ||
      delivered < sizeof package::kExtensionMarker ||
      std::memcmp(header, package::kExtensionMarker, sizeof package::kExtensionMarker) != 0)
    return found;
  uint32_t version = 0;
  for (int i = 3; i >= 0; --i) version = version << 8 | header[8 + i];
  found.state = delivered >= 12 && version > package::kExtensionVersion ? BlockState::kLaterVersion
                                                                        : BlockState::kDamaged;
  return found;
}

std::string Describe(const FoundBlock& found) {
  // What the setup program does with a block it cannot use: a required one refuses the file.
  const std::string ignored = found.required ? "" : ", ignored";
  switch (found.state) {
    case BlockState::kPresent: return "yes";
    case BlockState::kDamaged: return "damaged" + ignored;
    case BlockState::kLaterVersion: return "from a later scrpack" + ignored;
    case BlockState::kNone: break;
  }
  return found.required ? "missing" : "none";
}

std::string SignatureVerdict(const package::ExtensionBlock& block,
                             const package::SettingsRecord& record) {
  if (!block.uninstallerSignature) return "none";
  // The uninstaller holds the record as start-up rewrites it.
  package::SettingsRecord installed = record;
  integration::ShortenSaverFileName(installed);
  return package::SignatureFits(*block.uninstallerSignature, installed) ? "fits" : "does not fit";
}

void AddMetadataRows(Report& report, const package::ExtensionBlock& block,
                     const package::SettingsRecord& record) {
  report.Add("Publisher", Shown(block.publisher));
  report.Add("Version", Shown(block.version));
  report.Add("ShellInstall", block.shellInstall);
  report.Add("UninstallerSignature", SignatureVerdict(block, record));
}

void AddBlockRows(Report& report, const FoundBlock& found, const package::SettingsRecord& record) {
  report.Add("Extension", Describe(found));
  if (found.state != BlockState::kPresent) return;
  const package::ExtensionBlock& block = found.block;
  AddMetadataRows(report, block, record);
  if (block.uninstallerSignature)
    report.Add("UninstallerSignatureSize", int64_t(block.uninstallerSignature->table.size()));
  if (block.checksums) {
    report.Add("ImageChecksum", Hex(block.checksums->image));
    report.Add("TextsChecksum", Hex(block.checksums->texts));
    report.Add("RecordChecksum", Hex(block.checksums->record));
  }
}

PartStates CheckParts(package::ReadSource& source, int64_t packageEnd,
                      const package::SettingsRecord& record, const FoundBlock& found) {
  PartStates states;
  if (found.state != BlockState::kPresent || !found.block.checksums) return states;
  const package::PackageChecksums& expected = *found.block.checksums;
  try {
    states.image = Compare(package::ImageChecksum(source, packageEnd, record), expected.image);
  } catch (const package::DamagedCodedImage&) {
    states.image = PartState::kDamaged;  // setup stops at its damaged frame
  }
  states.texts = Compare(package::TextsChecksum(source, packageEnd, record), expected.texts);
  states.record = Compare(package::RecordChecksum(record), expected.record);
  return states;
}

std::string Describe(PartState state) {
  switch (state) {
    case PartState::kIntact: return "intact";
    case PartState::kDamaged: return "damaged";
    case PartState::kUnchecked: break;
  }
  return "unchecked";
}

}  // namespace scrpack
