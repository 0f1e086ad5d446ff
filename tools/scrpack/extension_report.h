#pragma once
// What inspect and verify say about the extension block behind a setup file's package: whether
// there is one the setup program would use, what it carries, and whether the parts it guards
// still match their checksums.
#include <cstdint>
#include <optional>
#include <string>

#include "package/extension_block.h"
#include "package/package_reader.h"
#include "package/read_source.h"
#include "package/settings_record.h"
#include "scrpack/report.h"

namespace scrpack {

enum class BlockState { kNone, kPresent, kDamaged, kLaterVersion };

struct FoundBlock {
  BlockState state = BlockState::kNone;
  package::ExtensionBlock block;  // when present
  // The package's record says the block belongs to the file: the setup program refuses the file
  // unless it is present.
  bool required = false;
};

// The block behind the package `info` describes, and when it cannot be used, why.
FoundBlock FindBlock(package::ReadSource& source, const package::PackageInfo& info);

// "yes", "none", "missing", "damaged, ignored", ...: one word or two for a row.
std::string Describe(const FoundBlock& found);

// Whether the block's uninstaller signature would be written with the uninstaller of a setup file
// holding `record`: "none", "fits" or "does not fit".
std::string SignatureVerdict(const package::ExtensionBlock& block,
                             const package::SettingsRecord& record);

// What the block tells the setup program to do: publisher, version, shell install, signature.
void AddMetadataRows(Report& report, const package::ExtensionBlock& block,
                     const package::SettingsRecord& record);

// inspect: the block's rows.
void AddBlockRows(Report& report, const FoundBlock& found, const package::SettingsRecord& record);

// verify: each part the block guards, checked against the whole file.
enum class PartState { kUnchecked, kIntact, kDamaged };
struct PartStates {
  PartState image = PartState::kUnchecked;
  PartState texts = PartState::kUnchecked;
  PartState record = PartState::kUnchecked;
};
PartStates CheckParts(package::ReadSource& source, int64_t packageEnd,
                      const package::SettingsRecord& record, const FoundBlock& found);
std::string Describe(PartState state);

}  // namespace scrpack
