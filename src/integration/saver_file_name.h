#pragma once
// The start-up rewrite of the screen saver's file name for the running Windows version.
#include <optional>

#include "os/system.h"
#include "package/settings_record.h"

namespace integration {

// The longest name before ".scr" that the shortened file name keeps, and that a numbered name
// shares with its number.
constexpr std::size_t kShortStemLength = 8;

// Index of the running Windows version (-1 unknown, 0 Windows 95 ... 7 Windows 6.x).
int WindowsVersionIndex(const std::optional<os::VersionInfo>& version);
// Windows 2000 and later get the short, plain file name.
bool GetsShortSaverFileNames(const std::optional<os::VersionInfo>& version);
// Rewrites the file name the way older tools expect on Windows 2000 and later.
void ShortenSaverFileName(package::SettingsRecord& record);

}  // namespace integration
