#pragma once
// The machine-wide entry in the system's list of removable programs. Neither function reports
// anything: a user without write access to HKLM simply gets no entry.
#include <string>

#include "os/registry.h"

namespace integration {

constexpr char kUninstallKeyParent[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

std::string UninstallKeyPath(const std::string& title);

// Writes "DisplayName" = title, "UninstallString" = the path in double quotes, so a path with
// blanks still starts the uninstaller without arguments, and "DisplayIcon" = the path as it is.
// Stops at the first failure.
void RegisterUninstallEntry(os::Registry& registry, const std::string& title,
                            const std::string& uninstallerPath);

// Deletes the entry with all its subkeys. A title "A\B" removes B and leaves A.
void RemoveUninstallEntry(os::Registry& registry, const std::string& title);

}  // namespace integration
