#include "integration/key_tree.h"

namespace integration {

namespace {
// Deeper than the registry allows (512 levels): something is looping, stop there.
constexpr int kMaxDepth = 512;

void DeleteKeyTreeAt(os::Registry& registry, os::RegRoot root, const std::string& path, int depth) {
  if (depth > kMaxDepth) return;
  if (auto key = registry.OpenKey(root, path)) {
    const uint32_t count = key->SubkeyCount().value_or(0);
    for (uint32_t index = count; index-- > 0;) {
      if (const auto name = key->SubkeyName(index); name && !name->empty())
        DeleteKeyTreeAt(registry, root, path + '\\' + *name, depth + 1);
    }
  }  // the handle is closed before the key itself is deleted
  registry.DeleteKey(root, path);
}
}  // namespace

void DeleteKeyTree(os::Registry& registry, os::RegRoot root, const std::string& path) {
  DeleteKeyTreeAt(registry, root, path, 0);
}

}  // namespace integration
