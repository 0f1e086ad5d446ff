#pragma once
// Positioned reads from a file on the building machine.
#include <fstream>
#include <string>

#include "package/read_source.h"

namespace scrpack {

class StreamSource : public package::ReadSource {
 public:
  explicit StreamSource(const std::string& path);
  bool IsOpen() const { return stream_.is_open(); }
  int64_t Size() noexcept override { return size_; }
  bool ReadAt(int64_t position, void* buffer, uint32_t count,
              uint32_t& delivered) noexcept override;

 private:
  std::ifstream stream_;
  int64_t size_ = -1;
};

}  // namespace scrpack
