#pragma once
// The running process: its DLL search, its own path, the Windows version, message boxes, pauses,
// random bytes.
#include "os/system.h"
#include "os/win32/kept_error.h"
#include "os/win32/unique_handle.h"

namespace os::win32 {

class WinSystem : public os::System {
 public:
  bool RestrictDllSearchToSystemFolder() noexcept override;
  bool RemoveCurrentFolderFromDllSearch() noexcept override;
  bool LoadSystemLibrary(const std::string& fileName) noexcept override;
  std::string CommandLine() noexcept override;
  std::string ModulePath() noexcept override;
  std::optional<os::VersionInfo> Version() noexcept override;
  bool RunsAsLocalSystem() noexcept override;
  bool ClaimForThisRun(const std::string& name) noexcept override;
  int ShowMessage(os::WindowRef owner, const std::string& text, const std::string& caption,
                  unsigned flags) noexcept override;
  void Sleep(uint32_t milliseconds) noexcept override;
  bool RandomBytes(void* buffer, std::size_t count) noexcept override;
  os::LocalTime Now() noexcept override;
  std::string UserName() noexcept override;
  std::optional<bool> RunsElevated() noexcept override;
  std::string ErrorText(os::ErrorCode code) noexcept override;
  os::ErrorCode LastError() const override { return error_.Code(); }

 private:
  UniqueHandle claim_;  // released when the process ends
  KeptError error_;
};

}  // namespace os::win32
