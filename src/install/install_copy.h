#pragma once
// The image copy: the screen saver streamed out of the setup file in bounded chunks, with a
// progress report after each chunk so the window can repaint and serve its messages.
#include <cstdint>
#include <functional>
#include <vector>

#include "os/files.h"

namespace install {

// Largest chunk moved at once; the buffer is allocated once per installation with this size.
constexpr uint32_t kCopyChunkSize = 100001;

// Copies up to `length` bytes from the current position of `source` into `target`, through
// `buffer` (at least one byte; chunks never exceed its size). After each chunk `afterChunk` gets
// the share of the whole source file that lies before the source position, in percent.
// The copy ends early, without error, at the end of the source file. A read that fails or
// delivers nothing before that end, and a write that falls short, raise InstallError: a copy
// that cannot make progress must neither spin nor count as done. With a `checksum`, it receives
// the CRC-32C of the bytes copied, computed as each chunk passes.
void CopyImage(os::File& source, os::File& target, int64_t length, std::vector<uint8_t>& buffer,
               const std::function<void(int percent)>& afterChunk, uint32_t* checksum = nullptr);

}  // namespace install
