#include "install/install_copy.h"

#include <algorithm>
#include <string>

#include "install/install_error.h"
#include "install/install_progress.h"
#include "package/checksum.h"
#include "package/coded_image.h"

namespace install {
namespace {

uint32_t ChunkSize(int64_t remaining, const std::vector<uint8_t>& buffer) {
  const int64_t limit = static_cast<int64_t>(std::min<std::size_t>(buffer.size(), kCopyChunkSize));
  return static_cast<uint32_t>(std::min(remaining, limit));
}

// A failed call on the setup file or on the target, with the code the file tells right after it.
[[noreturn]] void ReadFailed(const os::File& source, const std::string& message) {
  throw InstallError(message, os::Cause{kReadSetupFileStep, {}, source.LastError()});
}

int64_t SourceSize(os::File& source) {
  const int64_t size = source.Size();
  if (size < 0) ReadFailed(source, "The size of the setup file cannot be read.");
  return size;
}

int64_t SourcePosition(os::File& source) {
  const int64_t position = source.Position();
  if (position < 0) ReadFailed(source, "The position in the setup file cannot be read.");
  return position;
}

// A write may put down fewer bytes than asked, as one on a disk that is filling up does: the rest
// is written again, and the call that then fails tells the system's reason (a full disk, 112).
void WriteAll(os::File& target, const void* bytes, uint32_t count, const char* what) {
  const auto* next = static_cast<const uint8_t*>(bytes);
  while (count > 0) {
    uint32_t written = 0;
    if (!target.Write(next, count, written) || written == 0 || written > count)
      throw InstallError(std::string("Writing ") + what + " fell short.",
                         os::Cause{kWriteSaverStep, {}, target.LastError()});
    next += written;
    count -= written;
  }
}

}  // namespace

void CopyImage(os::File& source, os::File& target, int64_t length, std::vector<uint8_t>& buffer,
               callable::FunctionRef<void(int percent)> afterChunk, uint32_t* checksum) {
  if (buffer.empty()) throw InstallError("No copy buffer.");
  const int64_t size = SourceSize(source);
  int64_t position = SourcePosition(source);  // moved on by each read, not asked for again
  int64_t remaining = length;
  uint32_t crc = 0;
  while (position < size && remaining > 0) {
    const uint32_t wanted = ChunkSize(remaining, buffer);
    uint32_t delivered = 0;
    if (!source.Read(buffer.data(), wanted, delivered) || delivered == 0)
      ReadFailed(source, "Reading the screen saver from the setup file failed.");
    if (checksum) crc = package::Crc32c(crc, buffer.data(), delivered);
    WriteAll(target, buffer.data(), delivered, "the screen saver");
    position += delivered;
    remaining -= delivered;
    afterChunk(ProgressPercent(position, size));
  }
  if (checksum) *checksum = crc;
}

int64_t DecodeImage(os::File& source, os::File& target, int64_t length,
                    std::vector<uint8_t>& output, std::vector<uint8_t>& input,
                    callable::FunctionRef<void(int percent)> afterChunk, uint32_t& checksum) {
  const int64_t size = SourceSize(source);
  const int64_t start = SourcePosition(source);
  const auto pull = [&source](uint8_t* into, uint32_t count) {
    while (count > 0) {
      uint32_t delivered = 0;
      if (!source.Read(into, count, delivered) || delivered == 0)
        ReadFailed(source, "Reading the screen saver from the setup file failed.");
      into += delivered;
      count -= delivered;
    }
  };
  int64_t installed = 0;
  const auto push = [&](const uint8_t* bytes, uint32_t count, int64_t consumed) {
    WriteAll(target, bytes, count, "the screen saver");
    installed += count;
    afterChunk(ProgressPercent(start + consumed, size));
  };
  try {
    checksum = package::DecodeImage(length, pull, input, output, push);
  } catch (const package::DamagedCodedImage&) {
    throw DamagedImage();
  }
  return installed;
}

bool ImageIsCoded(os::File& source, int64_t length) {
  const int64_t start = SourcePosition(source);
  uint8_t first[2] = {};
  const uint32_t wanted = length < 2 ? uint32_t(length < 0 ? 0 : length) : 2;
  uint32_t delivered = 0;
  if (wanted > 0 && (!source.Read(first, wanted, delivered) || delivered != wanted))
    ReadFailed(source, "Reading the screen saver from the setup file failed.");
  if (!source.Seek(start))
    ReadFailed(source, "The screen saver cannot be found in the setup file.");
  return package::IsCodedImage(first, delivered);
}

}  // namespace install
