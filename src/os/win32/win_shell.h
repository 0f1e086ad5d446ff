#pragma once
// The shell through shell32 and ole32: ShellExecute, special folders, links, the folder dialog.
#include "os/shell.h"
#include "os/win32/kept_error.h"

namespace os::win32 {

class WinShell : public os::Shell {
 public:
  // An empty verb or parameter text goes to ShellExecuteA as null; the directory is passed as
  // given, an empty text included (the shell then uses the current folder either way).
  intptr_t Execute(os::WindowRef owner, const std::string& verb, const std::string& file,
                   const std::string& parameters, const std::string& directory,
                   int show) noexcept override;
  std::optional<std::string> SpecialFolder(os::WindowRef owner, int csidl) noexcept override;
  int32_t SaveLink(const os::ShellLink& link, const std::string& linkPath) noexcept override;
  std::optional<std::string> BrowseForFolder(os::WindowRef owner, const std::string& instruction,
                                             const std::string& startFolder) noexcept override;
  // The HRESULT of a failed link or folder look-up, as COM gives it.
  os::ErrorCode LastError() const override { return error_.Code(); }

 private:
  int32_t WriteLink(const os::ShellLink& link, const std::string& linkPath) noexcept;

  KeptError error_;
};

}  // namespace os::win32
