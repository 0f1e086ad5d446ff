#pragma once
// Positioned reads from the program's own file (or from bytes in memory, for tests and fuzzing).
#include <cstdint>
#include <string>

namespace os {
class File;
}

namespace package {

class ReadSource {
 public:
  virtual ~ReadSource() = default;
  // -1 when the size cannot be read.
  virtual int64_t Size() noexcept = 0;
  // Reads up to `count` bytes at `position`. `delivered` tells how many arrived; fewer than asked
  // means the end of the source or a failed read. Returns false when nothing could be read.
  virtual bool ReadAt(int64_t position, void* buffer, uint32_t count,
                      uint32_t& delivered) noexcept = 0;
};

// Over an open os::File: Seek then Read, repeated while the file keeps delivering.
class FileReadSource : public ReadSource {
 public:
  explicit FileReadSource(os::File& file) : file_(file) {}
  int64_t Size() noexcept override;
  bool ReadAt(int64_t position, void* buffer, uint32_t count,
              uint32_t& delivered) noexcept override;

 private:
  os::File& file_;
};

// Over bytes held by the caller, which must outlive this object.
class MemoryReadSource : public ReadSource {
 public:
  MemoryReadSource(const void* data, std::size_t size)
      : data_(static_cast<const uint8_t*>(data)), size_(size) {}
  explicit MemoryReadSource(const std::string& bytes)
      : MemoryReadSource(bytes.data(), bytes.size()) {}
  int64_t Size() noexcept override { return static_cast<int64_t>(size_); }
  bool ReadAt(int64_t position, void* buffer, uint32_t count,
              uint32_t& delivered) noexcept override;

 private:
  const uint8_t* data_;
  std::size_t size_;
};

}  // namespace package
