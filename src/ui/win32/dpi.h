#pragma once
// The system's pixels per inch and the scaling of the 96-dpi design to it.
#include <windows.h>

namespace ui::win32 {

class Dpi {
 public:
  explicit Dpi(int pixelsPerInch) : value_(pixelsPerInch > 0 ? pixelsPerInch : kDesign) {}
  // The screen's vertical dpi (the program declares itself dpi-aware, so this is the real one).
  static Dpi OfScreen() {
    HDC screen = GetDC(nullptr);
    const int value = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kDesign;
    if (screen) ReleaseDC(nullptr, screen);
    return Dpi(value);
  }
  int Scale(int designPixels) const { return MulDiv(designPixels, value_, kDesign); }
  // Font height in logical units for a point size (negative: character height).
  int FontHeight(int points) const { return -MulDiv(points, value_, 72); }

  static constexpr int kDesign = 96;

 private:
  int value_;
};

}  // namespace ui::win32
