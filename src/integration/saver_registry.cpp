#include "integration/saver_registry.h"

#include "integration/integration_errors.h"
#include "integration/item_name.h"
#include "integration/key_tree.h"
#include "text/path_parts.h"
#include "text/text_lines.h"

namespace integration {

namespace {
constexpr os::RegRoot kRoot = kSaverSettingsRoot;
}  // namespace

std::string SaverKeyPath(const std::string& title) {
  // An empty title names the parent key itself; the registry takes no trailing backslash.
  return text::WithoutTrailingBackslashes(std::string(kSaverKeyParent) + '\\' + title);
}

void StoreInstalledPath(os::Registry& registry, const std::string& title, const std::string& path) {
  if (!TitleNamesOwnItem(title)) return;
  const auto key = registry.CreateKey(kRoot, SaverKeyPath(title));
  if (!key) return;
  if (!key->SetString(kInstalledPathValue, path))
    throw RegistryError::FailedToSetData(
        kInstalledPathValue,
        os::Cause{"record the installed path", SaverKeyPath(title), key->LastError()});
}

std::string ReadInstalledPath(os::Registry& registry, const std::string& title) {
  if (!TitleNamesOwnItem(title)) return std::string();
  const auto key = registry.OpenKey(kRoot, SaverKeyPath(title));
  if (!key) return std::string();
  const auto value = key->Query(kInstalledPathValue);
  if (!value) return std::string();
  // We only ever write a string. Anything else is not our record, and it must not stand between
  // the user and the uninstaller (which could then never remove the screen saver).
  if (value->type != os::kRegSz && value->type != os::kRegExpandSz) return std::string();
  return text::UpToFirstNul(value->data);
}

RegistryRemoval ClearSaverSettings(os::Registry& registry, const std::string& title) {
  RegistryRemoval removal;
  removal.root = kRoot;
  if (!TitleNamesOwnItem(title)) return removal;
  removal.valuesKey = SaverKeyPath(title);
  {
    const auto key = registry.CreateKey(kRoot, removal.valuesKey);
    if (!key) return removal;
    // All names first: deleting while enumerating would shift the indices under our feet.
    const auto names = key->ValueNames();
    for (const std::string& name : names.value_or(std::vector<std::string>())) {
      if (name == kKeptSettingValue) continue;
      if (key->DeleteValue(name))
        removal.values.push_back(name);
      else
        removal.failures.push_back(os::Cause{
            "delete the registry value \"" + name + '"',
            std::string(os::RootName(kRoot)) + '\\' + removal.valuesKey, key->LastError()});
    }
  }
  RemoveKeyTree(registry, removal.valuesKey + '\\' + kPlayListKey, removal);
  return removal;
}

}  // namespace integration
