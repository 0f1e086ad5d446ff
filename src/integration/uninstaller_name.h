#pragma once
// The uninstaller's file name, derived from the translated word and the screen saver's file name.
// It is the one place where the uninstaller learns which file it was installed with: its bytes
// are the same for every target name (they may carry a signature), its name is not.
#include <string>

namespace integration {

// Replaces the extension (from the last "." after the last backslash or colon) by `extension`,
// or appends `extension` when the text has none.
std::string ReplaceExtension(const std::string& path, const std::string& extension);
// "uninstall stars.exe" for "stars.scr", with the translated word for "Uninstall".
std::string UninstallerName(const std::string& translatedUninstall,
                            const std::string& targetFileName);

// The screen saver's file name that an uninstaller of this name was installed with: the
// packaged name or a numbered one (IsTargetNameFor), with the packaged name's extension. The
// empty text when the name tells none (the file was renamed, say), compared without regard to
// the case of A-Z.
std::string SaverNameOfUninstaller(const std::string& uninstallerFileName,
                                   const std::string& translatedUninstall,
                                   const std::string& packagedName);

}  // namespace integration
