#pragma once
// The machine-wide entry in the system's list of removable programs. Neither function raises: a
// user without write access to HKLM simply gets no entry, and keeps the one an administrator made.
#include <cstdint>
#include <string>

#include "integration/key_tree.h"
#include "os/registry.h"

namespace integration {

constexpr char kUninstallKeyParent[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// The entry's own key below kUninstallKeyParent, the name package managers know the entry by;
// empty for a title that names no item of its own, which gets no entry. A title "A\B" names
// the key B below a key A.
// The entries of the system's list of removable programs are the machine's.
constexpr os::RegRoot kUninstallEntryRoot = os::RegRoot::kLocalMachine;

std::string UninstallKeyName(const std::string& title);
// The entry's key below HKLM for a title that gets one.
std::string UninstallKeyPath(const std::string& title);

// What the system's list shows beside the name. Empty texts are left out of the entry.
struct EntryDetails {
  std::string publisher;
  std::string version;           // DisplayVersion
  std::string link;              // the wizard's link text: URLInfoAbout when it is a web address
  std::string installLocation;   // the folder
  uint32_t estimatedSizeKb = 0;  // EstimatedSize, left out when 0
};

// True for an http:// or https:// address (in any capitals) with something behind the scheme.
bool IsWebAddress(const std::string& text);

// Writes "DisplayName" = title, "UninstallString" = the path in double quotes, so a path with
// blanks still starts the uninstaller without arguments, "DisplayIcon" = the path as it is,
// NoModify = NoRepair = 1 (the uninstaller can do neither), and the details. A detail this
// package does not have is deleted, so an entry an earlier version wrote shows nothing stale.
// Stops at the first failure.
void RegisterUninstallEntry(os::Registry& registry, const std::string& title,
                            const std::string& uninstallerPath, const EntryDetails& details = {});

// Deletes the entry with all its subkeys. A title "A\B" removes B and leaves A. Returns what went,
// for the run's log.
RegistryRemoval RemoveUninstallEntry(os::Registry& registry, const std::string& title);

}  // namespace integration
