#include "install/install_copy.h"

#include <algorithm>
#include <string>

#include "install/install_error.h"
#include "install/install_progress.h"
#include "package/checksum.h"

namespace install {
namespace {

uint32_t ChunkSize(int64_t remaining, const std::vector<uint8_t>& buffer) {
  const int64_t limit = static_cast<int64_t>(std::min<std::size_t>(buffer.size(), kCopyChunkSize));
  return static_cast<uint32_t>(std::min(remaining, limit));
}

int64_t SourceSize(os::File& source) {
  const int64_t size = source.Size();
  if (size < 0) throw InstallError("The size of the setup file cannot be read.");
  return size;
}

int64_t SourcePosition(os::File& source) {
  const int64_t position = source.Position();
  if (position < 0) throw InstallError("The position in the setup file cannot be read.");
  return position;
}

void WriteAll(os::File& target, const void* bytes, uint32_t count, const char* what) {
  uint32_t written = 0;
  if (!target.Write(bytes, count, written) || written != count)
    throw InstallError(std::string("Writing ") + what + " fell short.");
}

}  // namespace

void CopyImage(os::File& source, os::File& target, int64_t length, std::vector<uint8_t>& buffer,
               const std::function<void(int percent)>& afterChunk, uint32_t* checksum) {
  if (buffer.empty()) throw InstallError("No copy buffer.");
  const int64_t size = SourceSize(source);
  int64_t position = SourcePosition(source);  // moved on by each read, not asked for again
  int64_t remaining = length;
  uint32_t crc = 0;
  while (position < size && remaining > 0) {
    const uint32_t wanted = ChunkSize(remaining, buffer);
    uint32_t delivered = 0;
    if (!source.Read(buffer.data(), wanted, delivered) || delivered == 0)
      throw InstallError("Reading the screen saver from the setup file failed.");
    if (checksum) crc = package::Crc32c(crc, buffer.data(), delivered);
    WriteAll(target, buffer.data(), delivered, "the screen saver");
    position += delivered;
    remaining -= delivered;
    afterChunk(ProgressPercent(position, size));
  }
  if (checksum) *checksum = crc;
}

}  // namespace install
