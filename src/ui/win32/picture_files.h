#pragma once
// Pictures made from the bytes of .bmp and .ico files, the way the system makes them from bitmap
// and icon resources: the wizard keeps its pictures coded and has only the files' bytes.
#include <windows.h>

#include <cstdint>
#include <vector>

namespace ui::win32 {

// A DIB section of an uncompressed .bmp file's picture, in the file's own size and format (what
// LoadImage with LR_CREATEDIBSECTION makes of a bitmap resource); nullptr for anything else.
HBITMAP BitmapFromFile(const std::vector<uint8_t>& file);
// The icon of the .ico file's images that suits `size` pixels best, scaled to it, chosen by the
// rule LoadImage applies to an icon resource; nullptr when the file does not hold one.
HICON IconFromFile(const std::vector<uint8_t>& file, int size);

}  // namespace ui::win32
