#pragma once
// The screen saver coded for the package (package/coded_image.h): frame by frame with LZMA at
// its best settings, each frame stored instead when coding does not make it smaller. Frames are
// coded independently, so several are coded at once, one per processor.
#include <cstdint>
#include <functional>
#include <string>

#include "package/coded_image.h"

namespace scrpack {

struct CodedImageResult {
  int64_t storedLength = 0;        // what the package carries
  uint32_t installedChecksum = 0;  // CRC-32C of the screen saver as installed
};

// How far the coding has come: bytes of the screen saver coded so far, of `total`.
using CodingProgress = std::function<void(int64_t done, int64_t total)>;

// Codes a screen saver of `size` bytes, taken from `read` (the next `count` bytes each call), and
// hands the coded image to `write` piece by piece. Throws std::runtime_error when the coder fails;
// `read` throws when the saver cannot be read.
CodedImageResult CodeImage(int64_t size, const std::function<std::string(std::size_t count)>& read,
                           const std::function<void(const std::string&)>& write,
                           const CodingProgress& progress,
                           uint32_t frameSize = package::kDefaultFrameSize);

// The same in memory, for the tests.
std::string CodedImageOf(const std::string& saver, uint32_t frameSize = package::kDefaultFrameSize);

}  // namespace scrpack
