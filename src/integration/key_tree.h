#pragma once
// Deleting a registry key with everything below it. RegDeleteKeyA removes leaf keys only, so
// the subkeys go first, deepest first.
#include <string>
#include <vector>

#include "os/registry.h"

namespace integration {

// Walks the subkeys from the highest index down, so that deleting one never shifts the index of
// a subkey still to be visited. A subkey whose name cannot be read is left alone (and then its
// parent stays too). True when the key itself was deleted; the registry's LastError says why not.
bool DeleteKeyTree(os::Registry& registry, os::RegRoot root, const std::string& path);

// What a removal in the registry did, for the run's log.
struct RegistryRemoval {
  os::RegRoot root = os::RegRoot::kCurrentUser;
  std::string valuesKey;            // the key the deleted values were in
  std::vector<std::string> values;  // each value deleted, by name
  std::vector<std::string> keys;    // each key deleted with everything below it
  std::vector<os::Cause> failures;  // each key or value that is there and stays
};

// DeleteKeyTree, noted in `removal`: the key when it went, the system's reason when it stays,
// nothing when there was no such key.
void RemoveKeyTree(os::Registry& registry, const std::string& path, RegistryRemoval& removal);

}  // namespace integration
