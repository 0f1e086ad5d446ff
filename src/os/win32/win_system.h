#pragma once
// The running process: its DLL search, its own path, the Windows version, message boxes, pauses,
// random bytes.
#include "os/system.h"
#include "os/win32/kept_error.h"
#include "os/win32/unique_handle.h"

namespace os::win32 {

class WinSystem : public os::System {
 public:
  bool RestrictDllSearchToSystemFolder() override;
  bool RemoveCurrentFolderFromDllSearch() override;
  bool LoadSystemLibrary(const std::string& fileName) override;
  std::string CommandLine() override;
  std::string ModulePath() override;
  std::optional<os::VersionInfo> Version() override;
  bool RunsAsLocalSystem() override;
  bool ClaimForThisRun(const std::string& name) override;
  int ShowMessage(os::WindowRef owner, const std::string& text, const std::string& caption,
                  unsigned flags) override;
  void Sleep(uint32_t milliseconds) override;
  bool RandomBytes(void* buffer, std::size_t count) override;
  os::LocalTime Now() override;
  std::string UserName() override;
  std::optional<bool> RunsElevated() override;
  std::string ErrorText(os::ErrorCode code) override;
  os::ErrorCode LastError() const override { return error_.Code(); }

 private:
  UniqueHandle claim_;  // released when the process ends
  KeptError error_;
};

}  // namespace os::win32
