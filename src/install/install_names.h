#pragma once
// The uninstaller's file name, derived from the translated word and the screen saver's file name.
#include <string>

namespace install {

// Replaces the extension (from the last "." after the last backslash or colon) by `extension`,
// or appends `extension` when the text has none.
std::string ReplaceExtension(const std::string& path, const std::string& extension);
// "uninstall stars.exe" for "stars.scr", with the translated word for "Uninstall".
std::string UninstallerName(const std::string& translatedUninstall,
                            const std::string& targetFileName);

}  // namespace install
