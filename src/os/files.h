#pragma once
// File-system half of the OS boundary. Every call reports failure through its result, the way
// the underlying kernel32 call does; the logic above decides what a failure means.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "os/failure.h"
#include "text/path_parts.h"

namespace os {

// An open file. Destroying it closes the handle: exactly one owner per handle.
class File : public FailureSource {
 public:
  virtual int64_t Size() noexcept = 0;  // -1 when the size cannot be read
  virtual bool Seek(int64_t position) noexcept = 0;
  virtual int64_t Position() noexcept = 0;  // -1 when unknown
  // Reads up to `count` bytes at the current position; `delivered` is 0 when the read fails.
  virtual bool Read(void* buffer, uint32_t count, uint32_t& delivered) noexcept = 0;
  // Writes `count` bytes at the current position; `written` is 0 when the write fails.
  virtual bool Write(const void* buffer, uint32_t count, uint32_t& written) noexcept = 0;
};

enum class OpenMode {
  kReadShareAll,       // GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING
  kReadShareRead,      // GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING
  kReadWriteExisting,  // GENERIC_READ | GENERIC_WRITE, no sharing, OPEN_EXISTING
  kCreateAlways,       // GENERIC_READ | GENERIC_WRITE, no sharing, CREATE_ALWAYS
  kCreateNew,          // GENERIC_READ | GENERIC_WRITE, no sharing, CREATE_NEW: fails when taken
  // FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_ALWAYS: every write lands at the
  // end of the file, also while another process appends to it.
  kAppendShareAll,
};

constexpr uint32_t kInvalidAttributes = 0xFFFFFFFFu;
constexpr uint32_t kAttributeDirectory = 0x10u;

class Files : public FailureSource {
 public:
  virtual std::unique_ptr<File> Open(const std::string& path,
                                     OpenMode mode) noexcept = 0;  // null on failure
  virtual bool DeleteFileAt(const std::string& path) noexcept = 0;
  virtual bool CreateFolder(const std::string& path) noexcept = 0;  // one level, default security
  // One level, open to the current user, Administrators and SYSTEM only (nothing inherited from
  // the parent). Fails when anything of that name exists, a link or junction included.
  virtual bool CreatePrivateFolder(const std::string& path) noexcept = 0;
  virtual bool RemoveFolder(const std::string& path) noexcept = 0;  // empty folders only
  virtual uint32_t Attributes(
      const std::string& path) noexcept = 0;  // kInvalidAttributes when absent
  // FindFirstFileA finds a file (not a folder) of that name.
  virtual bool FileExists(const std::string& path) noexcept = 0;
  virtual bool CopyFileTo(const std::string& from, const std::string& to,
                          bool failIfExists) noexcept = 0;
  // MoveFileExA(from, to, 0): a new name in the same folder, never over an existing file. Fails
  // while the file is open.
  virtual bool RenameFile(const std::string& from, const std::string& to) noexcept = 0;
  // MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING): the same, over whatever file `to` names.
  virtual bool MoveOver(const std::string& from, const std::string& to) noexcept = 0;
  // MoveFileExA(path, null, MOVEFILE_DELAY_UNTIL_REBOOT).
  virtual bool DeleteAtReboot(const std::string& path) noexcept = 0;
  virtual std::string FullPathName(const std::string& path) noexcept = 0;   // empty on failure
  virtual std::string ShortPathName(const std::string& path) noexcept = 0;  // empty on failure
  // GetLongPathNameA: the long form of an existing path given in its short (8.3) form; empty on
  // failure.
  virtual std::string LongPathName(const std::string& path) noexcept = 0;
  // The system's folders, faithful: the ANSI form where the code page holds the name, else the
  // short form; empty when neither names the folder (never a path with a '?' put in for a
  // character the code page lacks).
  virtual std::string TempPath() noexcept = 0;  // with its trailing backslash
  virtual std::string WindowsDirectory() noexcept = 0;
  virtual std::string
  SystemDirectory() noexcept = 0;  // GetSystemDirectory, as this program names it
  // Where a 32-bit program's writes to the system folder really go on 64-bit Windows
  // (GetSystemWow64Directory); empty unless this is such a program there (IsWow64Process).
  virtual std::string SystemWow64Directory() noexcept = 0;
};

// What Attributes (GetFileAttributesA) tells of a path: unlike a directory search, it never
// takes wildcards in the path for the files they would match.
inline bool IsFolderAt(Files& files, const std::string& path) {
  const uint32_t attributes = files.Attributes(path);
  return attributes != kInvalidAttributes && (attributes & kAttributeDirectory) != 0;
}
inline bool IsFileNotFolderAt(Files& files, const std::string& path) {
  const uint32_t attributes = files.Attributes(path);
  return attributes != kInvalidAttributes && (attributes & kAttributeDirectory) == 0;
}

// Creates the folder `path` with every missing parent, outermost first: the one way this program
// makes a folder path. Trailing separators are ignored, and a slash counts as a backslash, as
// Windows takes it; a drive ("C:"), a root and a folder that already exists count as done. False
// when a level cannot be created. Each level made here is appended to `created`, also when a later
// one fails.
inline bool CreateFolderWithParents(Files& files, const std::string& path,
                                    std::vector<std::string>& created) {
  const std::string folder = text::WithoutTrailingSeparators(path);
  if (folder.size() < 3 || IsFolderAt(files, folder)) return true;
  // The parent is looked for before the last character, so it is always shorter: a folder that
  // ends in a colon ("x:") would otherwise be its own parent, without end.
  const std::size_t cut = folder.find_last_of("\\/:", folder.size() - 2);
  if (cut != std::string::npos &&
      !CreateFolderWithParents(files, folder.substr(0, cut + 1), created))
    return false;
  if (!files.CreateFolder(folder)) return false;
  created.push_back(folder);
  return true;
}

}  // namespace os
