#include "ui/win32/fonts.h"

#include <cstring>

namespace ui::win32 {
namespace {

constexpr char kFace[] = "Tahoma";
constexpr int kNormalPoints = 8;
constexpr int kTitlePoints = 11;

HFONT MakeFont(const Dpi& dpi, int points, bool underline) {
  LOGFONTA font{};
  font.lfHeight = dpi.FontHeight(points);
  font.lfWeight = FW_NORMAL;
  font.lfUnderline = underline ? TRUE : FALSE;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
  std::strncpy(font.lfFaceName, kFace, LF_FACESIZE - 1);
  return CreateFontIndirectA(&font);
}

}  // namespace

WizardFonts::WizardFonts(const Dpi& dpi)
    : normal_(MakeFont(dpi, kNormalPoints, false)),
      title_(MakeFont(dpi, kTitlePoints, false)),
      link_(MakeFont(dpi, kNormalPoints, true)) {}

HFONT WizardFonts::Get(TextFont font) const {
  switch (font) {
    case TextFont::kTitle: return title_.Get();
    case TextFont::kLink: return link_.Get();
    case TextFont::kNormal: break;
  }
  return normal_.Get();
}

}  // namespace ui::win32
