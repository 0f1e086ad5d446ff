#include "package/read_source.h"

#include <cstring>

#include "os/files.h"

namespace package {

int64_t FileReadSource::Size() noexcept { return file_.Size(); }

bool FileReadSource::ReadAt(int64_t position, void* buffer, uint32_t count,
                            uint32_t& delivered) noexcept {
  delivered = 0;
  if (position < 0 || !file_.Seek(position)) return false;
  auto* out = static_cast<uint8_t*>(buffer);
  while (delivered < count) {
    uint32_t got = 0;
    if (!file_.Read(out + delivered, count - delivered, got) || got == 0) break;
    delivered += got;
  }
  return delivered > 0 || count == 0;
}

bool MemoryReadSource::ReadAt(int64_t position, void* buffer, uint32_t count,
                              uint32_t& delivered) noexcept {
  delivered = 0;
  if (position < 0 || static_cast<uint64_t>(position) >= size_) return count == 0;
  const std::size_t available = size_ - static_cast<std::size_t>(position);
  delivered = static_cast<uint32_t>(count < available ? count : available);
  if (delivered > 0) std::memcpy(buffer, data_ + position, delivered);
  return true;
}

}  // namespace package
