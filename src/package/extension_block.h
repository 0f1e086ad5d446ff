#pragma once
// The extension block: what a setup file carries beyond the package format, right behind its
// "ZUZOri.sig". To the package's readers it is trailing data, which they skip; the setup file's
// own code signature, appended later, covers it. A file without it installs as it always did.
//
//   "SCRXblk\0" | version (4) | contents size (4) | CRC-32C of the contents (4) | contents
//   contents:   section*      section: tag (4) | payload size (4) | payload
//   "META"  key=value lines: publisher, version, shell-install (yes/no)
//   "SUMS"  CRC-32C of the image, of the texts, of the record (4 each)
//   "USIG"  the uninstaller's code signature: CRC-32C of the record it was signed with, the PE
//           checksum of the signed file, the zero padding in front of the certificate table (4
//           each), then the table itself
//
// Numbers are little-endian. Unknown sections and keys are skipped, so a later builder adds
// sections and keys rather than a new version. In a signed file the block lies in front of the
// certificate table, where the signature covers it.
//
// The record's flag (settings_record.h) says whether the block belongs to the file. scrpack sets
// it, and then a block that is missing, cut short, fails its CRC or has a later version makes
// the setup file corrupted: installed without it, the file would lose the author's choices
// (--no-shell-install) and its checksums. Without the flag (another builder's file, or one from
// an scrpack before the flag) such a block is ignored as a whole, as any trailing data is.
#include <cstdint>
#include <optional>
#include <string>

#include "package/read_source.h"

namespace package {

constexpr char kExtensionMarker[8] = {'S', 'C', 'R', 'X', 'b', 'l', 'k', '\0'};
constexpr uint32_t kExtensionVersion = 1;
constexpr int64_t kExtensionHeaderSize = 20;
// Contents beyond this are not read (a certificate table with its chain is a few kilobytes).
constexpr uint32_t kMaxExtensionContents = 1024 * 1024;
// Signing tools align the certificate table to 8 bytes.
constexpr uint32_t kMaxSignaturePadding = 7;

struct PackageChecksums {
  uint32_t image = 0;
  uint32_t texts = 0;
  uint32_t record = 0;
  bool operator==(const PackageChecksums& o) const {
    return image == o.image && texts == o.texts && record == o.record;
  }
};

struct UninstallerSignature {
  uint32_t recordChecksum = 0;  // of the record as the uninstaller that was signed holds it
  uint32_t peChecksum = 0;      // the header checksum of the signed uninstaller
  uint32_t padding = 0;         // zero bytes between "ScUnin.sig" and the table
  std::string table;            // the certificate table, as the signing tool appended it
};

struct ExtensionBlock {
  std::string publisher;
  std::string version;
  bool shellInstall = true;
  std::optional<PackageChecksums> checksums;
  std::optional<UninstallerSignature> uninstallerSignature;
};

// The whole block, header included. Throws UnfitExtension (errors.h) when the contents would hold
// a package signature, a value holds a line break, or the contents exceed kMaxExtensionContents.
std::string EncodeExtension(const ExtensionBlock& block);

// The block that starts at `packageEnd`, or nothing when there is none or it is damaged.
std::optional<ExtensionBlock> ReadExtension(ReadSource& source, int64_t packageEnd);

// Start-up's reading: the block, or an empty one when there is none that can be read. Throws
// CorruptedPackage when there is none that can be read and `required` (a setup file whose record
// says it carries one).
ExtensionBlock RequireExtension(ReadSource& source, int64_t packageEnd, bool required);

// The contents alone (behind the header), for ReadExtension and the tests; nothing when damaged.
std::optional<ExtensionBlock> DecodeExtensionContents(const std::string& contents);

}  // namespace package
