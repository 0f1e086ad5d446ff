#include "scrpack/stream_source.h"

#include <filesystem>

namespace scrpack {

StreamSource::StreamSource(const std::string& path)
    : stream_(std::filesystem::u8path(path), std::ios::binary) {
  if (!stream_) return;
  stream_.seekg(0, std::ios::end);
  const auto end = stream_.tellg();
  if (end >= 0) size_ = static_cast<int64_t>(end);
}

bool StreamSource::ReadAt(int64_t position, void* buffer, uint32_t count,
                          uint32_t& delivered) noexcept {
  delivered = 0;
  if (position < 0 || size_ < 0) return false;
  stream_.clear();
  stream_.seekg(position);
  if (!stream_) return false;
  stream_.read(static_cast<char*>(buffer), count);
  delivered = static_cast<uint32_t>(stream_.gcount());
  return delivered > 0 || count == 0;
}

}  // namespace scrpack
