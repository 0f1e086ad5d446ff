#pragma once
// The builder's per-user record of an installed screen saver: a key below
// HKCU\Software\Somnivex named after the title, holding the installed path in "FileName_".
// The screen saver keeps its own settings in the same key. The parent key is shared by every
// screen saver of the maker: a title that does not name a key of its own (empty, or with a part
// such as "..") makes the three operations below do nothing (read: the empty text).
#include <string>

#include "integration/key_tree.h"
#include "os/registry.h"

namespace integration {

constexpr char kSaverKeyParent[] = "Software\\Somnivex";
constexpr char kInstalledPathValue[] = "FileName_";
constexpr char kKeptSettingValue[] = "StartID";
constexpr char kPlayListKey[] = "PlayList";

// A screen saver's settings, and the path it was installed to, are the user's.
constexpr os::RegRoot kSaverSettingsRoot = os::RegRoot::kCurrentUser;

std::string SaverKeyPath(const std::string& title);

// Creates the key (with its parents) and records the path. A key that can be neither opened nor
// created is passed over silently; a value that cannot be set raises RegistryError.
void StoreInstalledPath(os::Registry& registry, const std::string& title, const std::string& path);

// The recorded path as stored (REG_SZ or REG_EXPAND_SZ, up to the first NUL); the empty text when
// the key or value is missing or the value is of another type. Creates nothing.
std::string ReadInstalledPath(os::Registry& registry, const std::string& title);

// Deletes every value but "StartID" and the "PlayList" subtree; other subkeys stay. The key
// itself exists afterwards. Returns what went, for the run's log.
RegistryRemoval ClearSaverSettings(os::Registry& registry, const std::string& title);

}  // namespace integration
