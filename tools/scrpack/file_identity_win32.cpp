#include <windows.h>

#include <filesystem>

#include "os/win32/unique_handle.h"
#include "scrpack/file_identity.h"

namespace scrpack {

std::optional<FileIdentity> IdentityOf(const std::string& path) {
  // Opened for no access at all, so a file that another program holds open is still identified;
  // the backup flag lets a folder be opened as well.
  const std::wstring wide = std::filesystem::u8path(path).wstring();
  const os::win32::UniqueFile file(
      CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!file || !GetFileInformationByHandle(file.Get(), &info)) return std::nullopt;
  return FileIdentity{info.dwVolumeSerialNumber,
                      (uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

}  // namespace scrpack
