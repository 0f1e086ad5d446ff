#include "package/package_end.h"

#include <cstring>
#include <vector>

#include "package/pe_image.h"
#include "package/settings_record.h"

namespace package {
namespace {

// Large enough that megabytes of trailing data cost a few reads; the 9 bytes of overlap between
// neighbouring blocks keep a signature that straddles a block boundary visible.
constexpr int64_t kBlockWindows = 64 * 1024;
constexpr int64_t kWindow = static_cast<int64_t>(kSignatureSize);

// Where a signature may begin at the earliest: behind the program's own sections, when the
// source is a program. A package is always appended to the program, never inside it.
int64_t LowestWindowStart(ReadSource& source, int64_t size) {
  uint8_t header[kPeHeaderProbe];
  const auto wanted =
      static_cast<uint32_t>(size < int64_t(sizeof header) ? size : int64_t(sizeof header));
  uint32_t delivered = 0;
  if (!source.ReadAt(0, header, wanted, delivered)) return 0;
  const int64_t imageEnd = PeImageEnd(header, delivered);
  // Sections said to reach beyond the file are nonsense: then search the whole file.
  return imageEnd <= size ? imageEnd : 0;
}

}  // namespace

bool IsPackageSignature(const uint8_t* window) {
  // Both signatures end in 'g'; testing it first keeps the scan to one compare per byte.
  return window[kSignatureSize - 1] == 'g' &&
         (std::memcmp(window, kSetupSignature, kSignatureSize) == 0 ||
          std::memcmp(window, kUninstallSignature, kSignatureSize) == 0);
}

std::optional<int64_t> FindPackageEnd(ReadSource& source) {
  const int64_t size = source.Size();
  if (size < kWindow) return std::nullopt;
  const int64_t floor = LowestWindowStart(source, size);
  std::vector<uint8_t> block;
  // Window starts still to examine are floor..highest; each pass takes the top kBlockWindows.
  int64_t highest = size - kWindow;
  while (highest >= floor) {
    const int64_t lowest =
        highest - floor >= kBlockWindows - 1 ? highest - (kBlockWindows - 1) : floor;
    const auto length = static_cast<uint32_t>(highest - lowest + kWindow);
    block.resize(length);
    uint32_t delivered = 0;
    if (!source.ReadAt(lowest, block.data(), length, delivered) || delivered != length)
      return std::nullopt;
    for (int64_t start = highest; start >= lowest; --start) {
      if (IsPackageSignature(block.data() + (start - lowest))) return start + kWindow;
    }
    highest = lowest - 1;
  }
  return std::nullopt;
}

}  // namespace package
