#include "integration/uninstall_entry.h"

#include "integration/item_name.h"
#include "integration/key_tree.h"
#include "text/ascii_case.h"

namespace integration {

namespace {
constexpr os::RegRoot kRoot = kUninstallEntryRoot;

// A value this package has is written; one it lacks goes, in case an earlier version wrote it.
bool PutOptionalString(os::RegKey& key, const char* name, const std::string& value) {
  if (value.empty()) {
    key.DeleteValue(name);  // usually not there
    return true;
  }
  return key.SetString(name, value);
}

bool PutDetails(os::RegKey& key, const EntryDetails& details) {
  if (!key.SetDword("NoModify", 1) || !key.SetDword("NoRepair", 1)) return false;
  if (!PutOptionalString(key, "Publisher", details.publisher)) return false;
  if (!PutOptionalString(key, "DisplayVersion", details.version)) return false;
  if (!PutOptionalString(key, "URLInfoAbout", IsWebAddress(details.link) ? details.link : ""))
    return false;
  if (!PutOptionalString(key, "InstallLocation", details.installLocation)) return false;
  if (details.estimatedSizeKb == 0) return key.DeleteValue("EstimatedSize"), true;
  return key.SetDword("EstimatedSize", details.estimatedSizeKb);
}
}  // namespace

bool IsWebAddress(const std::string& text) {
  for (const char* scheme : {"http://", "https://"}) {
    const std::string prefix = scheme;
    if (text.size() > prefix.size() && text::StartsWithIgnoringAsciiCase(text, prefix)) return true;
  }
  return false;
}

std::string UninstallKeyName(const std::string& title) {
  // Without a name of its own the entry would land in the shared Uninstall key.
  return TitleNamesOwnItem(title) ? title : std::string();
}

std::string UninstallKeyPath(const std::string& title) {
  return std::string(kUninstallKeyParent) + '\\' + UninstallKeyName(title);
}

void RegisterUninstallEntry(os::Registry& registry, const std::string& title,
                            const std::string& uninstallerPath, const EntryDetails& details) {
  if (UninstallKeyName(title).empty()) return;
  try {
    const auto key = registry.CreateKey(kRoot, UninstallKeyPath(title));
    if (!key) return;
    if (!key->SetString("DisplayName", title)) return;
    if (!key->SetString("UninstallString", '"' + uninstallerPath + '"')) return;
    // What deployment tools and package managers run to remove it with nobody at the screen.
    if (!key->SetString("QuietUninstallString", '"' + uninstallerPath + "\" -silent -yes")) return;
    // The uninstaller carries our icon, so the system's list shows it beside the name.
    if (!key->SetString("DisplayIcon", uninstallerPath)) return;
    PutDetails(*key, details);
  } catch (...) {
    // An entry we could not write is no reason to fail the installation.
  }
}

RegistryRemoval RemoveUninstallEntry(os::Registry& registry, const std::string& title) {
  RegistryRemoval removal;
  removal.root = kRoot;
  // Never the shared Uninstall key, never another program's entry.
  if (UninstallKeyName(title).empty()) return removal;
  try {
    RemoveKeyTree(registry, UninstallKeyPath(title), removal);
  } catch (...) {
  }
  return removal;
}

}  // namespace integration
