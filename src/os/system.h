#pragma once
// Process-level half of the OS boundary: the running program, the version, messages, time.
#include <cstdint>
#include <optional>
#include <string>

#include "os/shell.h"

namespace os {

struct VersionInfo {
  uint32_t platformId = 0;
  uint32_t major = 0;
  uint32_t minor = 0;
  std::string servicePack;  // szCSDVersion
};

constexpr unsigned kMbOk = 0x0;
constexpr unsigned kMbYesNo = 0x4;
constexpr unsigned kMbIconError = 0x10;
constexpr unsigned kMbIconQuestion = 0x20;
constexpr unsigned kMbIconWarning = 0x30;
constexpr unsigned kMbIconInformation = 0x40;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

class System {
 public:
  virtual ~System() = default;
  // The running program's file, faithful as the folders of Files are; empty when it cannot be named.
  virtual std::string ModulePath() = 0;
  virtual std::optional<VersionInfo> Version() = 0;      // GetVersionExA; nullopt when it fails
  virtual int ShowMessage(WindowRef owner, const std::string& text, const std::string& caption,
                          unsigned flags) = 0;           // MessageBoxA
  virtual void Sleep(uint32_t milliseconds) = 0;
};

}  // namespace os
