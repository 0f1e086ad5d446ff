#include "os/win32/win_files.h"

#include "os/win32/ansi_path.h"
#include "os/win32/kept_error.h"
#include "os/win32/kernel32_function.h"
#include "os/win32/private_folder.h"
#include "os/win32/text_buffer.h"
#include "os/win32/unique_handle.h"

namespace os::win32 {

namespace {

class WinFile : public os::File {
 public:
  explicit WinFile(UniqueFile handle) : handle_(std::move(handle)) {}

  int64_t Size() noexcept override {
    LARGE_INTEGER size{};
    return error_.Keep(GetFileSizeEx(handle_.Get(), &size)) ? size.QuadPart : -1;
  }

  bool Seek(int64_t position) noexcept override {
    if (position < 0) return error_.Refuse(ERROR_NEGATIVE_SEEK);
    LARGE_INTEGER to{};
    to.QuadPart = position;
    return error_.Keep(SetFilePointerEx(handle_.Get(), to, nullptr, FILE_BEGIN));
  }

  int64_t Position() noexcept override {
    LARGE_INTEGER zero{}, at{};
    return error_.Keep(SetFilePointerEx(handle_.Get(), zero, &at, FILE_CURRENT)) ? at.QuadPart : -1;
  }

  bool Read(void* buffer, uint32_t count, uint32_t& delivered) noexcept override {
    DWORD got = 0;
    const bool ok = error_.Keep(ReadFile(handle_.Get(), buffer, count, &got, nullptr));
    delivered = ok ? got : 0;
    return ok;
  }

  bool Write(const void* buffer, uint32_t count, uint32_t& written) noexcept override {
    DWORD put = 0;
    const bool ok = error_.Keep(WriteFile(handle_.Get(), buffer, count, &put, nullptr));
    written = ok ? put : 0;
    return ok;
  }

  os::ErrorCode LastError() const noexcept override { return error_.Code(); }

 private:
  UniqueFile handle_;
  KeptError error_;
};

struct OpenArguments {
  DWORD access, share, disposition;
};

OpenArguments ArgumentsFor(os::OpenMode mode) {
  switch (mode) {
    case os::OpenMode::kReadShareAll:
      return {GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING};
    case os::OpenMode::kReadShareRead: return {GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING};
    case os::OpenMode::kReadWriteExisting: return {GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING};
    case os::OpenMode::kCreateAlways: return {GENERIC_READ | GENERIC_WRITE, 0, CREATE_ALWAYS};
    case os::OpenMode::kCreateNew: return {GENERIC_READ | GENERIC_WRITE, 0, CREATE_NEW};
    case os::OpenMode::kAppendShareAll:
      return {FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_ALWAYS};
  }
  return {GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING};
}

using TempPathCall = DWORD(WINAPI*)(DWORD, LPWSTR);

// GetTempPath2W where the system has it (Windows 11 and updated Windows 10): for the SYSTEM
// account it gives a folder that only SYSTEM may write to, where GetTempPathW gives
// <Windows>\Temp, which every user may fill. Looked up at run time: older systems lack it.
TempPathCall TempPathFunction() {
  const TempPathCall found = Kernel32Function<TempPathCall>("GetTempPath2W");
  return found ? found : &GetTempPathW;
}

}  // namespace

std::unique_ptr<os::File> WinFiles::Open(const std::string& path, os::OpenMode mode) noexcept {
  const OpenArguments args = ArgumentsFor(mode);
  UniqueFile handle(CreateFileA(path.c_str(), args.access, args.share, nullptr, args.disposition,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!error_.Keep(handle.Valid())) return nullptr;
  return std::make_unique<WinFile>(std::move(handle));
}

bool WinFiles::DeleteFileAt(const std::string& path) noexcept {
  return error_.Keep(DeleteFileA(path.c_str()));
}

bool WinFiles::CreateFolder(const std::string& path) noexcept {
  return error_.Keep(CreateDirectoryA(path.c_str(), nullptr));
}

bool WinFiles::CreatePrivateFolder(const std::string& path) noexcept {
  return error_.Keep(CreatePrivateFolderA(path));
}

bool WinFiles::RemoveFolder(const std::string& path) noexcept {
  return error_.Keep(RemoveDirectoryA(path.c_str()));
}

uint32_t WinFiles::Attributes(const std::string& path) noexcept {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  error_.Keep(attributes != INVALID_FILE_ATTRIBUTES);
  return attributes;
}

bool WinFiles::FileExists(const std::string& path) noexcept {
  WIN32_FIND_DATAA found{};
  UniqueFind search(FindFirstFileA(path.c_str(), &found));
  return error_.Keep(search.Valid()) && (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool WinFiles::CopyFileTo(const std::string& from, const std::string& to,
                          bool failIfExists) noexcept {
  return error_.Keep(CopyFileA(from.c_str(), to.c_str(), failIfExists));
}

bool WinFiles::RenameFile(const std::string& from, const std::string& to) noexcept {
  return error_.Keep(MoveFileExA(from.c_str(), to.c_str(), 0));
}

bool WinFiles::MoveOver(const std::string& from, const std::string& to) noexcept {
  return error_.Keep(MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING));
}

bool WinFiles::DeleteAtReboot(const std::string& path) noexcept {
  return error_.Keep(MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT));
}

std::string WinFiles::FullPathName(const std::string& path) noexcept {
  if (path.empty()) return error_.Refuse(ERROR_INVALID_PARAMETER), std::string();
  return error_.KeepText(FillString([&](char* buffer, DWORD size) {
    return GetFullPathNameA(path.c_str(), size, buffer, nullptr);
  }));
}

std::string WinFiles::ShortPathName(const std::string& path) noexcept {
  return error_.KeepText(FillString(
      [&](char* buffer, DWORD size) { return GetShortPathNameA(path.c_str(), buffer, size); }));
}

std::string WinFiles::LongPathName(const std::string& path) noexcept {
  return error_.KeepText(FillString(
      [&](char* buffer, DWORD size) { return GetLongPathNameA(path.c_str(), buffer, size); }));
}

std::string WinFiles::TempPath() noexcept {
  const TempPathCall call = TempPathFunction();
  return error_.KeepText(UsableAnsiPath(
      FillText<wchar_t>([call](wchar_t* buffer, DWORD size) { return call(size, buffer); })));
}

std::string WinFiles::WindowsDirectory() noexcept {
  return error_.KeepText(UsableAnsiPath(FillText<wchar_t>(
      [](wchar_t* buffer, DWORD size) { return GetWindowsDirectoryW(buffer, size); })));
}

std::string WinFiles::SystemDirectory() noexcept {
  return error_.KeepText(UsableAnsiPath(FillText<wchar_t>(
      [](wchar_t* buffer, DWORD size) { return GetSystemDirectoryW(buffer, size); })));
}

std::string WinFiles::SystemWow64Directory() noexcept {
  using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);
  using GetSystemWow64DirectoryFunction = UINT(WINAPI*)(LPWSTR, UINT);
  const auto isWow64Process = Kernel32Function<IsWow64ProcessFunction>("IsWow64Process");
  const auto wow64Directory =
      Kernel32Function<GetSystemWow64DirectoryFunction>("GetSystemWow64DirectoryW");
  BOOL wow64 = FALSE;
  if (!isWow64Process || !wow64Directory || !isWow64Process(GetCurrentProcess(), &wow64) || !wow64)
    return {};
  return UsableAnsiPath(
      FillText<wchar_t>([&](wchar_t* buffer, DWORD size) { return wow64Directory(buffer, size); }));
}

}  // namespace os::win32
