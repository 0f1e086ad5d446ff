#pragma once
// Process-level half of the OS boundary: the running program, where it looks for DLLs, the
// version, messages, time, chance.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "os/failure.h"
#include "os/shell.h"

namespace os {

struct VersionInfo {
  uint32_t platformId = 0;
  uint32_t major = 0;
  uint32_t minor = 0;
  std::string servicePack;  // szCSDVersion
};

// The local wall-clock time (GetLocalTime).
struct LocalTime {
  uint16_t year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
};

constexpr unsigned kMbOk = 0x0;
constexpr unsigned kMbYesNo = 0x4;
constexpr unsigned kMbIconError = 0x10;
constexpr unsigned kMbIconQuestion = 0x20;
constexpr unsigned kMbIconWarning = 0x30;
constexpr unsigned kMbIconInformation = 0x40;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

class System : public FailureSource {
 public:
  // SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32), looked up at run time: false when the
  // system lacks the call or refuses it.
  virtual bool RestrictDllSearchToSystemFolder() noexcept = 0;
  // SetDllDirectoryA(""), looked up at run time: takes the current folder out of the search.
  virtual bool RemoveCurrentFolderFromDllSearch() noexcept = 0;
  // Loads <system folder>\fileName, its own imports searched from there too, and keeps it for the
  // rest of the run, so that a later load by that bare name finds it in memory.
  virtual bool LoadSystemLibrary(const std::string& fileName) noexcept = 0;
  virtual std::string CommandLine() noexcept = 0;  // GetCommandLineA
  // The running program's file, faithful as the folders of Files are; empty when it cannot be
  // named.
  virtual std::string ModulePath() noexcept = 0;
  virtual std::optional<VersionInfo>
  Version() noexcept = 0;  // GetVersionExA; nullopt when it fails
  virtual int ShowMessage(WindowRef owner, const std::string& text, const std::string& caption,
                          unsigned flags) noexcept = 0;  // MessageBoxA
  virtual void Sleep(uint32_t milliseconds) noexcept = 0;
  // Fills `count` bytes from the system's cryptographic generator; false when it cannot.
  virtual bool RandomBytes(void* buffer, std::size_t count) noexcept = 0;
  // The program runs under the LocalSystem account, as deployment tools start installers.
  virtual bool RunsAsLocalSystem() noexcept = 0;
  // Claims `name` for this process, in every session of the machine, until the program ends
  // (a named mutex in the global namespace). False when another process holds it, or has made it
  // and does not let us see it.
  virtual bool ClaimForThisRun(const std::string& name) noexcept = 0;
  virtual LocalTime Now() noexcept = 0;
  // The name of the account the program runs under (GetUserNameA); empty when it cannot be had.
  virtual std::string UserName() noexcept = 0;
  // Whether the program runs with its account's full administrative rights (the token's
  // TokenElevation). nullopt where the system cannot say: before Vista there is no split token,
  // so an administrator's program always has its full rights there.
  virtual std::optional<bool> RunsElevated() noexcept = 0;
  // The system's own text for an error code, in one line without its closing period; empty when
  // the system has none.
  virtual std::string ErrorText(ErrorCode code) noexcept = 0;
};

}  // namespace os
