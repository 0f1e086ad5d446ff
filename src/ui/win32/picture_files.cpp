#include "ui/win32/picture_files.h"

#include <cstdlib>
#include <cstring>

namespace ui::win32 {
namespace {

constexpr std::size_t kBitmapFileHeaderLength = 14;
constexpr std::size_t kIconDirectoryLength = 6;
constexpr std::size_t kIconFileEntryLength = 16;
// What an icon file's entry and an icon resource's entry share: size, colours, planes, bits and
// the image's length. The file then gives the image's offset, the resource the image's number.
constexpr std::size_t kIconEntrySharedLength = 12;
// No picture of ours comes near it; a larger one is a damaged file.
constexpr LONG kLargestSide = 1024;

uint32_t Little32(const uint8_t* bytes) {
  uint32_t value;
  std::memcpy(&value, bytes, sizeof(value));  // every Windows runs little-endian
  return value;
}

struct BitmapInfo {
  BITMAPINFOHEADER header;
  RGBQUAD colours[256];
};

bool IsPlainBitmap(const BITMAPINFOHEADER& header) {
  return header.biSize == sizeof(header) && header.biCompression == BI_RGB &&
         header.biPlanes == 1 && header.biWidth > 0 && header.biWidth <= kLargestSide &&
         header.biHeight != 0 && std::labs(header.biHeight) <= kLargestSide &&
         (header.biBitCount == 1 || header.biBitCount == 4 || header.biBitCount == 8 ||
          header.biBitCount == 24 || header.biBitCount == 32);
}

}  // namespace

HBITMAP BitmapFromFile(const std::vector<uint8_t>& file) {
  BitmapInfo info{};
  if (file.size() < kBitmapFileHeaderLength + sizeof(info.header)) return nullptr;
  std::memcpy(&info.header, file.data() + kBitmapFileHeaderLength, sizeof(info.header));
  if (!IsPlainBitmap(info.header)) return nullptr;
  const uint32_t paletteSize = info.header.biBitCount <= 8 ? 1u << info.header.biBitCount : 0;
  const uint32_t colours = info.header.biClrUsed ? info.header.biClrUsed : paletteSize;
  if (colours > paletteSize) return nullptr;
  const std::size_t paletteStart = kBitmapFileHeaderLength + sizeof(info.header);
  const std::size_t pixelStart = paletteStart + colours * sizeof(RGBQUAD);
  const std::size_t stride = (info.header.biWidth * info.header.biBitCount + 31) / 32 * 4;
  const std::size_t pixelLength = stride * std::labs(info.header.biHeight);
  if (file.size() < pixelStart + pixelLength) return nullptr;
  std::memcpy(info.colours, file.data() + paletteStart, colours * sizeof(RGBQUAD));

  void* pixels = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&info),
                                    DIB_RGB_COLORS, &pixels, nullptr, 0);
  if (bitmap) std::memcpy(pixels, file.data() + pixelStart, pixelLength);
  return bitmap;
}

HICON IconFromFile(const std::vector<uint8_t>& file, int size) {
  if (file.size() < kIconDirectoryLength) return nullptr;
  const std::size_t count = file[4] | file[5] << 8;
  if (count == 0 || file.size() < kIconDirectoryLength + count * kIconFileEntryLength)
    return nullptr;
  // The directory as an icon resource holds it, for the system's own choice. Images are numbered
  // from 1, as the lookup answers 0 when it finds none.
  std::vector<uint8_t> directory(file.begin(), file.begin() + kIconDirectoryLength);
  for (std::size_t i = 0; i < count; ++i) {
    const uint8_t* entry = file.data() + kIconDirectoryLength + i * kIconFileEntryLength;
    directory.insert(directory.end(), entry, entry + kIconEntrySharedLength);
    directory.push_back(static_cast<uint8_t>(i + 1));
    directory.push_back(static_cast<uint8_t>((i + 1) >> 8));
  }
  const int chosen = LookupIconIdFromDirectoryEx(directory.data(), TRUE, size, size, 0);
  if (chosen < 1 || static_cast<std::size_t>(chosen) > count) return nullptr;

  const uint8_t* entry = file.data() + kIconDirectoryLength + (chosen - 1) * kIconFileEntryLength;
  const uint32_t length = Little32(entry + 8);
  const uint32_t offset = Little32(entry + 12);
  if (length == 0 || offset > file.size() || length > file.size() - offset) return nullptr;
  // Copied out: the system reads the image's header in place, and it is aligned only on its own.
  std::vector<uint8_t> image(file.begin() + offset, file.begin() + offset + length);
  return CreateIconFromResourceEx(image.data(), length, TRUE, 0x00030000, size, size, 0);
}

}  // namespace ui::win32
