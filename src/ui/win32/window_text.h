#pragma once
// Texts of child windows: reading them, memo lines, accelerator marks and label measurement.
#include <windows.h>

#include <string>
#include <vector>

namespace ui::win32 {

std::string ReadWindowText(HWND window);
// A memo's lines as its text: joined with CR LF.
std::string JoinLines(const std::vector<std::string>& lines);
// A memo's text back as lines.
std::vector<std::string> SplitLines(const std::string& text);
// True when `caption` marks `key` (any case) as its accelerator with "&"; "&&" is a plain "&".
bool HasMnemonic(const std::string& caption, char key);
// The size a label needs for `text` in its own font: one line per line break, or, when
// `wrapped`, the given width and as many lines as word wrapping makes.
SIZE MeasureLabelText(HWND label, const std::string& text, bool wrapped, int width);

}  // namespace ui::win32
