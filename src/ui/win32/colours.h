#pragma once
// What each of the control table's colours is painted with: a system colour as the paper behind
// the text, and the ink.
#include <windows.h>

#include "ui/wizard_controls.h"

namespace ui::win32 {

struct PaintColours {
  int paper;  // a system colour index (COLOR_...)
  COLORREF ink;
};

inline PaintColours PaintColoursOf(Colours colours) {
  switch (colours) {
    case Colours::kWhite: return {COLOR_WINDOW, GetSysColor(COLOR_WINDOWTEXT)};
    case Colours::kTitle: return {COLOR_WINDOW, RGB(0, 51, 188)};
    case Colours::kLink: return {COLOR_BTNFACE, RGB(0, 102, 204)};
    case Colours::kDialog: break;
  }
  return {COLOR_BTNFACE, GetSysColor(COLOR_WINDOWTEXT)};
}

}  // namespace ui::win32
