#pragma once
// Registry half of the OS boundary: string values under HKCU and HKLM, keys opened with full
// access. Failures show as null keys and false results; the callers pick what to raise.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "os/failure.h"

namespace os {

enum class RegRoot { kCurrentUser, kLocalMachine };

// The short name a root is written with in front of a key path ("HKLM\\Software\\...").
inline const char* RootName(RegRoot root) {
  return root == RegRoot::kCurrentUser ? "HKCU" : "HKLM";
}

constexpr uint32_t kRegSz = 1;
constexpr uint32_t kRegExpandSz = 2;
constexpr uint32_t kRegDword = 4;

struct RegValue {
  uint32_t type = 0;
  std::string data;  // raw bytes as stored
};

// An open key. Destroying it closes the handle.
class RegKey : public FailureSource {
 public:
  virtual bool SetString(const std::string& name,
                         const std::string& value) noexcept = 0;  // REG_SZ, NUL counted
  virtual bool SetDword(const std::string& name, uint32_t value) noexcept = 0;  // REG_DWORD
  virtual std::optional<RegValue> Query(
      const std::string& name) noexcept = 0;  // nullopt: no such value
  // RegQueryInfoKeyA then RegEnumValueA over every index; nullopt when the key cannot be listed.
  virtual std::optional<std::vector<std::string>> ValueNames() noexcept = 0;
  virtual bool DeleteValue(const std::string& name) noexcept = 0;
  virtual std::optional<uint32_t> SubkeyCount() noexcept = 0;
  virtual std::optional<std::string> SubkeyName(uint32_t index) noexcept = 0;  // RegEnumKeyExA
};

class Registry : public FailureSource {
 public:
  // Paths are relative to the root, without a leading backslash.
  virtual std::unique_ptr<RegKey> OpenKey(RegRoot root, const std::string& path) noexcept = 0;
  virtual std::unique_ptr<RegKey> CreateKey(RegRoot root, const std::string& path) noexcept = 0;
  virtual bool DeleteKey(RegRoot root,
                         const std::string& path) noexcept = 0;  // RegDeleteKeyA: leaf keys only
};

}  // namespace os
