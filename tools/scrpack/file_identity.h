#pragma once
// Whether two paths name the same file, as the system sees it: through links, "..", other
// capitals on Windows, or a second hard link. scrpack uses it so that its output never replaces
// one of its inputs.
#include <cstdint>
#include <optional>
#include <string>

namespace scrpack {

// The volume and the file's number on it: st_dev and st_ino on POSIX systems, the volume serial
// number and the file index on Windows.
struct FileIdentity {
  uint64_t volume = 0;
  uint64_t index = 0;
  bool operator==(const FileIdentity& other) const {
    return volume == other.volume && index == other.index;
  }
};

// The identity of the file at `path` (UTF-8), following links; empty when there is no such file
// or the system does not say.
std::optional<FileIdentity> IdentityOf(const std::string& path);

}  // namespace scrpack
