#include "scrpack/host_file.h"

#include <filesystem>

namespace scrpack {
std::unique_ptr<HostFile> HostFile::OpenForReading(const std::string& path) {
  auto file = std::make_unique<HostFile>();
  file->stream_.open(std::filesystem::u8path(path), std::ios::binary | std::ios::in);
  if (!file->stream_) return nullptr;
  return file;
}

std::unique_ptr<HostFile> HostFile::Create(const std::string& path) {
  auto file = std::make_unique<HostFile>();
  file->stream_.open(std::filesystem::u8path(path),
                     std::ios::binary | std::ios::in | std::ios::out | std::ios::trunc);
  if (!file->stream_) return nullptr;
  return file;
}

int64_t HostFile::Size() noexcept {
  stream_.clear();
  stream_.seekg(0, std::ios::end);
  const auto size = static_cast<int64_t>(stream_.tellg());
  return stream_ ? size : -1;
}

bool HostFile::Seek(int64_t position) noexcept {
  if (position < 0) return false;
  position_ = position;
  return true;
}

bool HostFile::Read(void* buffer, uint32_t count, uint32_t& delivered) noexcept {
  delivered = 0;
  stream_.clear();
  stream_.seekg(position_);
  if (!stream_) return false;
  stream_.read(static_cast<char*>(buffer), count);
  delivered = static_cast<uint32_t>(stream_.gcount());
  position_ += delivered;
  stream_.clear();  // the end of the file is no failure of the stream
  return delivered > 0 || count == 0;
}

bool HostFile::Write(const void* buffer, uint32_t count, uint32_t& written) noexcept {
  written = 0;
  stream_.clear();
  stream_.seekp(position_);
  stream_.write(static_cast<const char*>(buffer), count);
  if (!stream_) return false;
  written = count;
  position_ += count;
  return true;
}

bool HostFile::Close() {
  stream_.flush();
  const bool flushed = bool(stream_);
  stream_.close();
  return flushed && !stream_.fail();
}

}  // namespace scrpack
