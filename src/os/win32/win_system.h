#pragma once
// The running process: its own path, the Windows version, message boxes, pauses.
#include "os/system.h"

namespace os::win32 {

class WinSystem : public os::System {
 public:
  std::string ModulePath() override;
  std::optional<os::VersionInfo> Version() override;
  int ShowMessage(os::WindowRef owner, const std::string& text, const std::string& caption,
                  unsigned flags) override;
  void Sleep(uint32_t milliseconds) override;
};

}  // namespace os::win32
