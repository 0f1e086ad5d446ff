#pragma once
// A file on the building machine behind the os::File interface, so that scrpack writes an
// uninstaller with the very code the setup program uses.
#include <fstream>
#include <memory>
#include <string>

#include "os/files.h"

namespace scrpack {

class HostFile : public os::File {
 public:
  // Null when the file cannot be opened. Paths are UTF-8.
  static std::unique_ptr<HostFile> OpenForReading(const std::string& path);
  static std::unique_ptr<HostFile> Create(const std::string& path);

  int64_t Size() noexcept override;
  bool Seek(int64_t position) noexcept override;
  int64_t Position() noexcept override { return position_; }
  bool Read(void* buffer, uint32_t count, uint32_t& delivered) noexcept override;
  bool Write(const void* buffer, uint32_t count, uint32_t& written) noexcept override;
  // False when what was written could not all reach the disk.
  bool Close();

 private:
  std::fstream stream_;
  int64_t position_ = 0;
};

}  // namespace scrpack
