#pragma once
// The registry through advapi32's ANSI calls; every key opened with full access.
#include "os/registry.h"
#include "os/win32/kept_error.h"

namespace os::win32 {

class WinRegistry : public os::Registry {
 public:
  std::unique_ptr<os::RegKey> OpenKey(os::RegRoot root, const std::string& path) noexcept override;
  std::unique_ptr<os::RegKey> CreateKey(os::RegRoot root,
                                        const std::string& path) noexcept override;
  bool DeleteKey(os::RegRoot root, const std::string& path) noexcept override;
  os::ErrorCode LastError() const override { return error_.Code(); }

 private:
  KeptError error_;
};

}  // namespace os::win32
