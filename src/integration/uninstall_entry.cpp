#include "integration/uninstall_entry.h"

#include "integration/item_name.h"
#include "integration/key_tree.h"

namespace integration {

namespace {
constexpr os::RegRoot kRoot = os::RegRoot::kLocalMachine;
}

std::string UninstallKeyPath(const std::string& title) {
  return std::string(kUninstallKeyParent) + '\\' + title;
}

void RegisterUninstallEntry(os::Registry& registry, const std::string& title,
                            const std::string& uninstallerPath) {
  // Without a name of its own the entry would land in the shared Uninstall key.
  if (!TitleNamesOwnItem(title)) return;
  try {
    const auto key = registry.CreateKey(kRoot, UninstallKeyPath(title));
    if (!key) return;
    if (!key->SetString("DisplayName", title)) return;
    if (!key->SetString("UninstallString", '"' + uninstallerPath + '"')) return;
    // The uninstaller carries our icon, so the system's list shows it beside the name.
    key->SetString("DisplayIcon", uninstallerPath);
  } catch (...) {
    // An entry we could not write is no reason to fail the installation.
  }
}

void RemoveUninstallEntry(os::Registry& registry, const std::string& title) {
  // Never the shared Uninstall key, never another program's entry.
  if (!TitleNamesOwnItem(title)) return;
  try {
    DeleteKeyTree(registry, kRoot, UninstallKeyPath(title));
  } catch (...) {
  }
}

}  // namespace integration
