#pragma once
// The package's checksums, as the extension block records them: the image, the texts and the
// record, each on its own, so that a damaged file says which part is damaged.
#include <cstdint>

#include "package/extension_block.h"
#include "package/read_source.h"
#include "package/settings_record.h"

namespace package {

uint32_t RecordChecksum(const SettingsRecord& record);

// Reads the texts and the record of a setup file (or uninstaller) and checksums them.
// Throws CorruptedPackage when they cannot be read.
uint32_t TextsChecksum(ReadSource& source, int64_t packageEnd, const SettingsRecord& record);

// The checksum of the image as installed: of its bytes when stored, of its decoded bytes when
// coded. Setup files only. Throws CorruptedPackage when the image cannot be read, and
// DamagedCodedImage (coded_image.h) when a coded image cannot be decoded.
uint32_t ImageChecksum(ReadSource& source, int64_t packageEnd, const SettingsRecord& record);

// All three, reading the whole package (scrpack verify). Setup files only.
PackageChecksums ComputeChecksums(ReadSource& source, int64_t packageEnd,
                                  const SettingsRecord& record);

// Start-up's check: the record as read and the texts match the block's checksums; throws
// CorruptedPackage when they do not. Nothing to check without checksums. The image is checked
// while it is copied.
void RequireIntactTextsAndRecord(ReadSource& source, int64_t packageEnd,
                                 const SettingsRecord& record, const ExtensionBlock& block);

}  // namespace package
