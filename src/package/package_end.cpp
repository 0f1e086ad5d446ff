#include "package/package_end.h"

#include <cstring>
#include <vector>

#include "package/pe_image.h"
#include "package/pe_signature.h"
#include "package/settings_record.h"

namespace package {
namespace {

// Large enough that megabytes of trailing data cost a few reads; the 9 bytes of overlap between
// neighbouring blocks keep a signature that straddles a block boundary visible.
constexpr int64_t kBlockWindows = 64 * 1024;
constexpr int64_t kWindow = static_cast<int64_t>(kSignatureSize);

// What the program's header says about where a package may lie.
struct Bounds {
  int64_t floor = 0;         // the lowest window start: behind the program's own sections
  int64_t signedLength = 0;  // where a certificate table begins, or the file size
};

// A package is always appended to the program, never inside it; sections said to reach beyond
// the file are nonsense, and then the whole file is searched. A certificate entry that points
// beyond the file leaves the whole file to the search as well: there is no table to exclude.
Bounds BoundsOf(ReadSource& source, int64_t size) {
  Bounds bounds{0, size};
  uint8_t header[kPeHeaderProbe];
  const auto wanted =
      static_cast<uint32_t>(size < int64_t(sizeof header) ? size : int64_t(sizeof header));
  uint32_t delivered = 0;
  if (!source.ReadAt(0, header, wanted, delivered)) return bounds;
  const int64_t imageEnd = PeImageEnd(header, delivered);
  if (imageEnd <= size) bounds.floor = imageEnd;
  SignatureFields fields;
  if (ReadSignatureFields(header, delivered, fields) && fields.tableSize != 0 &&
      int64_t(fields.tablePosition) < size)
    bounds.signedLength = fields.tablePosition;
  return bounds;
}

}  // namespace

bool IsPackageSignature(const uint8_t* window) {
  // Both signatures end in 'g'; testing it first keeps the scan to one compare per byte.
  return window[kSignatureSize - 1] == 'g' &&
         (std::memcmp(window, kSetupSignature, kSignatureSize) == 0 ||
          std::memcmp(window, kUninstallSignature, kSignatureSize) == 0);
}

PackageSearch SearchPackageEnd(ReadSource& source) {
  const int64_t size = source.Size();
  if (size < kWindow) return {};
  const Bounds bounds = BoundsOf(source, size);
  std::vector<uint8_t> block;
  // Window starts still to examine are floor..highest; each pass takes the top kBlockWindows.
  // The whole file is searched, the certificate table too, so that a marker put there is seen.
  int64_t highest = size - kWindow;
  while (highest >= bounds.floor) {
    const int64_t lowest =
        highest - bounds.floor >= kBlockWindows - 1 ? highest - (kBlockWindows - 1) : bounds.floor;
    const auto length = static_cast<uint32_t>(highest - lowest + kWindow);
    block.resize(length);
    uint32_t delivered = 0;
    if (!source.ReadAt(lowest, block.data(), length, delivered) || delivered != length) return {};
    for (int64_t start = highest; start >= lowest; --start) {
      if (!IsPackageSignature(block.data() + (start - lowest))) continue;
      const int64_t end = start + kWindow;
      const bool inTable = end > bounds.signedLength;
      return {inTable ? 0 : end, inTable};
    }
    highest = lowest - 1;
  }
  return {};
}

std::optional<int64_t> FindPackageEnd(ReadSource& source) {
  const int64_t end = SearchPackageEnd(source).end;
  return end > 0 ? std::optional<int64_t>(end) : std::nullopt;
}

}  // namespace package
