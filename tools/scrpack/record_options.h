#pragma once
// What the author's options put into the setup file's settings record and extension block, and
// the limits they must keep, which the help states.
#include <cstddef>
#include <ostream>
#include <string>

#include "package/extension_block.h"
#include "package/settings_record.h"
#include "scrpack/ansi_text.h"
#include "scrpack/build_options.h"

namespace scrpack {

// The limits are the record's field widths; a NUL-terminated field keeps one byte for the NUL
// only where the setup program needs one (the file name is handed to the system as it stands).
constexpr std::size_t kTitleLimit = package::field::kTitle.width;
constexpr std::size_t kLinkLimit = package::field::kLinkText.width;
constexpr std::size_t kFileNameLimit = package::field::kScreensaverFileName.width - 1;
constexpr std::size_t kFolderLimit = package::kMaxFolderLength;
// Enough for any publisher's name or version string; the list of removable programs shows less.
constexpr std::size_t kMetadataLimit = 128;

// The record's own fields from the options, converted to the code page (sizes and marker are the
// writer's). Throws UsageError naming the option when a text does not fit its field or names an
// unknown placeholder; warns about a file name without .scr or with a folder part and about an
// unusable title, and notes how the setup program will shorten the file name.
package::SettingsRecord RecordFromOptions(const BuildOptions& options, const CodePage& page,
                                          std::ostream& notes, std::ostream& warnings);

// The publisher, the version and the shell-install choice, for the extension block. Throws
// UsageError naming the option for a value that the block cannot carry.
package::ExtensionBlock BlockFromOptions(const BuildOptions& options, const CodePage& page);

}  // namespace scrpack
