#include "os/win32/win_registry.h"

#include "os/win32/kept_error.h"
#include "os/win32/unique_handle.h"

namespace os::win32 {

namespace {

HKEY RootKey(os::RegRoot root) {
  return root == os::RegRoot::kCurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

struct KeyInfo {
  DWORD subkeys = 0, longestSubkey = 0, values = 0, longestValueName = 0;
};

std::optional<KeyInfo> QueryInfo(HKEY key, KeptError& error) {
  KeyInfo info;
  if (!error.KeepStatus(RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &info.subkeys,
                                         &info.longestSubkey, nullptr, &info.values,
                                         &info.longestValueName, nullptr, nullptr, nullptr)))
    return std::nullopt;
  return info;
}

class WinRegKey : public os::RegKey {
 public:
  explicit WinRegKey(UniqueHkey key) : key_(std::move(key)) {}

  bool SetString(const std::string& name, const std::string& value) noexcept override {
    const auto size = static_cast<DWORD>(value.size() + 1);  // the NUL belongs to the value
    return error_.KeepStatus(RegSetValueExA(key_.Get(), name.c_str(), 0, REG_SZ,
                                            reinterpret_cast<const BYTE*>(value.c_str()), size));
  }

  bool SetDword(const std::string& name, uint32_t value) noexcept override {
    const DWORD data = value;
    return error_.KeepStatus(RegSetValueExA(key_.Get(), name.c_str(), 0, REG_DWORD,
                                            reinterpret_cast<const BYTE*>(&data), sizeof data));
  }

  // The type and size first, then the data; the value may grow in between, so retry on that.
  std::optional<os::RegValue> Query(const std::string& name) noexcept override {
    os::RegValue value;
    DWORD type = 0, size = 0;
    if (!error_.KeepStatus(
            RegQueryValueExA(key_.Get(), name.c_str(), nullptr, &type, nullptr, &size)))
      return std::nullopt;
    for (int attempt = 0; attempt < 4; ++attempt) {
      value.data.assign(size, '\0');
      DWORD got = size;
      BYTE* buffer = size ? reinterpret_cast<BYTE*>(&value.data[0]) : nullptr;
      const LONG result = RegQueryValueExA(key_.Get(), name.c_str(), nullptr, &type, buffer, &got);
      if (result == ERROR_SUCCESS) {
        value.type = type;
        value.data.resize(got);
        return value;
      }
      if (result != ERROR_MORE_DATA) return error_.KeepStatus(result), std::nullopt;
      size = got;
    }
    return error_.KeepStatus(ERROR_MORE_DATA), std::nullopt;
  }

  std::optional<std::vector<std::string>> ValueNames() noexcept override {
    auto info = QueryInfo(key_.Get(), error_);
    if (!info) return std::nullopt;
    std::vector<std::string> names;
    std::string buffer(info->longestValueName + 1, '\0');
    for (DWORD index = 0;; ++index) {
      DWORD length = static_cast<DWORD>(buffer.size());
      const LONG result =
          RegEnumValueA(key_.Get(), index, &buffer[0], &length, nullptr, nullptr, nullptr, nullptr);
      if (result == ERROR_NO_MORE_ITEMS) break;
      if (result == ERROR_MORE_DATA) {  // a longer name appeared meanwhile
        buffer.assign(buffer.size() * 2 + 256, '\0');
        --index;
        continue;
      }
      if (!error_.KeepStatus(result)) return std::nullopt;
      names.emplace_back(buffer.data(), length);
    }
    return names;
  }

  bool DeleteValue(const std::string& name) noexcept override {
    return error_.KeepStatus(RegDeleteValueA(key_.Get(), name.c_str()));
  }

  std::optional<uint32_t> SubkeyCount() noexcept override {
    auto info = QueryInfo(key_.Get(), error_);
    if (!info) return std::nullopt;
    return info->subkeys;
  }

  std::optional<std::string> SubkeyName(uint32_t index) noexcept override {
    auto info = QueryInfo(key_.Get(), error_);
    if (!info) return std::nullopt;
    std::string buffer(info->longestSubkey + 1, '\0');
    DWORD length = static_cast<DWORD>(buffer.size());
    if (!error_.KeepStatus(RegEnumKeyExA(key_.Get(), index, &buffer[0], &length, nullptr, nullptr,
                                         nullptr, nullptr)))
      return std::nullopt;
    buffer.resize(length);
    return buffer;
  }

  os::ErrorCode LastError() const noexcept override { return error_.Code(); }

 private:
  UniqueHkey key_;
  KeptError error_;
};

}  // namespace

std::unique_ptr<os::RegKey> WinRegistry::OpenKey(os::RegRoot root,
                                                 const std::string& path) noexcept {
  UniqueHkey key;
  if (!error_.KeepStatus(RegOpenKeyExA(RootKey(root), path.c_str(), 0, KEY_ALL_ACCESS, key.Put())))
    return nullptr;
  return std::make_unique<WinRegKey>(std::move(key));
}

std::unique_ptr<os::RegKey> WinRegistry::CreateKey(os::RegRoot root,
                                                   const std::string& path) noexcept {
  UniqueHkey key;
  if (!error_.KeepStatus(RegCreateKeyExA(RootKey(root), path.c_str(), 0, nullptr,
                                         REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                         key.Put(), nullptr)))
    return nullptr;
  return std::make_unique<WinRegKey>(std::move(key));
}

bool WinRegistry::DeleteKey(os::RegRoot root, const std::string& path) noexcept {
  // An empty path would name the root itself: never ours to delete.
  if (path.empty()) return error_.Refuse(ERROR_ACCESS_DENIED);
  return error_.KeepStatus(RegDeleteKeyA(RootKey(root), path.c_str()));
}

}  // namespace os::win32
