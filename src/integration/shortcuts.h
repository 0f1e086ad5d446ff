#pragma once
// The desktop preview shortcut and the Start-menu group. Making never fails loudly: whatever
// could not be made is simply missing. Removing raises ShortcutError when the shell cannot name
// the desktop or Programs folder, so the uninstaller does not pretend it cleaned up.
#include <string>
#include <vector>

#include "os/os.h"

namespace integration {

// What a removal of links did, for the run's log.
struct LinkRemoval {
  std::vector<std::string> links;   // each link deleted, by its full path
  std::vector<std::string> groups;  // each Start-menu group folder deleted
  // Each link that is still there after its deletion failed (another user's, without the rights).
  std::vector<os::Cause> failures;
};

// Each returns the full paths of the links it made, for the run's log.
std::vector<std::string> CreateDesktopShortcut(os::Os& os, const std::string& title,
                                               const std::string& screensaverPath);
LinkRemoval RemoveDesktopShortcut(os::Os& os, const std::string& title);

// A folder named after the title in the user's Programs folder with a preview, an optional
// readme and an uninstall shortcut. Nothing is made for a title that names no folder of its own.
// Run as LocalSystem, both go to every user's desktop and Start menu instead; removing them looks
// in both places.
std::vector<std::string> CreateStartMenuGroup(os::Os& os, const std::string& title,
                                              const std::string& uninstallerPath,
                                              const std::string& screensaverPath, bool hasReadme);
// Deletes our three shortcuts and then the folder, which the system removes only when empty,
// so a file the user put there keeps it alive.
LinkRemoval RemoveStartMenuGroup(os::Os& os, const std::string& title);

}  // namespace integration
