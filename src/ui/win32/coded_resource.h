#pragma once
// Resources the build stores LZMA-coded (the pictures, which would otherwise be a tenth of the
// program), laid out as an .lzma file: properties (5) | decoded size (8, little-endian) | stream
// with its end mark.
#include <windows.h>

#include <cstdint>
#include <vector>

namespace ui::win32 {

// The resource's decoded bytes; empty when it is missing or does not decode whole, so that a
// damaged one costs a picture, never the start.
std::vector<uint8_t> LoadCodedResource(HINSTANCE instance, int id);

}  // namespace ui::win32
