#include "ui/win32/window_text.h"

#include "os/win32/unique_handle.h"
#include "text/text_lines.h"

namespace ui::win32 {
namespace {

char UpperAnsi(char c) {
  char buffer[2] = {c, '\0'};
  CharUpperBuffA(buffer, 1);
  return buffer[0];
}

}  // namespace

std::string ReadWindowText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  if (length <= 0) return std::string();
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(window, &text[0], length + 1);
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return text;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i) text += "\r\n";
    text += lines[i];
  }
  return text;
}

std::vector<std::string> SplitLines(const std::string& text) { return text::SplitTextLines(text); }

bool HasMnemonic(const std::string& caption, char key) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;  // a literal "&"
      continue;
    }
    return UpperAnsi(caption[i + 1]) == UpperAnsi(key);
  }
  return false;
}

SIZE MeasureLabelText(HWND label, const std::string& text, bool wrapped, int width) {
  os::win32::WindowDc dc(label);
  os::win32::SelectedObject font(dc.Get(),
                                 reinterpret_cast<HGDIOBJ>(SendMessageA(label, WM_GETFONT, 0, 0)));
  // An empty label keeps the height of one line, as an empty line of text would have.
  const std::string measured = text.empty() ? std::string(" ") : text;
  RECT area{0, 0, wrapped ? width : 0, 0};
  const UINT flags = DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | (wrapped ? DT_WORDBREAK : 0);
  DrawTextA(dc.Get(), measured.c_str(), static_cast<int>(measured.size()), &area, flags);
  SIZE size{wrapped ? width : area.right - area.left, area.bottom - area.top};
  if (text.empty() && !wrapped) size.cx = 0;
  return size;
}

}  // namespace ui::win32
