#pragma once
// Deleting a registry key with everything below it. RegDeleteKeyA removes leaf keys only, so
// the subkeys go first, deepest first.
#include <string>

#include "os/registry.h"

namespace integration {

// Walks the subkeys from the highest index down, so that deleting one never shifts the index of
// a subkey still to be visited. A subkey whose name cannot be read is left alone (and then its
// parent stays too). Reports nothing.
void DeleteKeyTree(os::Registry& registry, os::RegRoot root, const std::string& path);

}  // namespace integration
