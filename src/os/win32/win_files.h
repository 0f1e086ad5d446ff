#pragma once
// Files through kernel32's ANSI calls; the system's folders through the wide ones (ansi_path.h).
#include "os/files.h"
#include "os/win32/kept_error.h"

namespace os::win32 {

class WinFiles : public os::Files {
 public:
  std::unique_ptr<os::File> Open(const std::string& path, os::OpenMode mode) noexcept override;
  bool DeleteFileAt(const std::string& path) noexcept override;
  bool CreateFolder(const std::string& path) noexcept override;
  bool CreatePrivateFolder(const std::string& path) noexcept override;
  bool RemoveFolder(const std::string& path) noexcept override;
  uint32_t Attributes(const std::string& path) noexcept override;
  bool FileExists(const std::string& path) noexcept override;
  bool RenameFile(const std::string& from, const std::string& to) noexcept override;
  bool MoveOver(const std::string& from, const std::string& to) noexcept override;
  bool CopyFileTo(const std::string& from, const std::string& to,
                  bool failIfExists) noexcept override;
  bool DeleteAtReboot(const std::string& path) noexcept override;
  std::string FullPathName(const std::string& path) noexcept override;
  std::string ShortPathName(const std::string& path) noexcept override;
  std::string LongPathName(const std::string& path) noexcept override;
  std::string TempPath() noexcept override;
  std::string WindowsDirectory() noexcept override;
  std::string SystemDirectory() noexcept override;
  std::string SystemWow64Directory() noexcept override;
  os::ErrorCode LastError() const override { return error_.Code(); }

 private:
  KeptError error_;
};

}  // namespace os::win32
