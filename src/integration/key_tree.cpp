#include "integration/key_tree.h"

namespace integration {

namespace {
// Deeper than the registry allows (512 levels): something is looping, stop there.
constexpr int kMaxDepth = 512;

bool DeleteKeyTreeAt(os::Registry& registry, os::RegRoot root, const std::string& path, int depth) {
  if (depth > kMaxDepth) return false;
  if (auto key = registry.OpenKey(root, path)) {
    const uint32_t count = key->SubkeyCount().value_or(0);
    for (uint32_t index = count; index-- > 0;) {
      if (const auto name = key->SubkeyName(index); name && !name->empty())
        DeleteKeyTreeAt(registry, root, path + '\\' + *name, depth + 1);
    }
  }  // the handle is closed before the key itself is deleted
  return registry.DeleteKey(root, path);
}
}  // namespace

bool DeleteKeyTree(os::Registry& registry, os::RegRoot root, const std::string& path) {
  return DeleteKeyTreeAt(registry, root, path, 0);
}

void RemoveKeyTree(os::Registry& registry, const std::string& path, RegistryRemoval& removal) {
  if (DeleteKeyTree(registry, removal.root, path)) {
    removal.keys.push_back(path);
    return;
  }
  const os::ErrorCode code = registry.LastError();
  if (code != os::kErrorFileNotFound)
    removal.failures.push_back(os::Cause{
        "delete the registry key", std::string(os::RootName(removal.root)) + '\\' + path, code});
}

}  // namespace integration
