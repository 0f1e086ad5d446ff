#pragma once
// Texts stored in the package (readme, licence) are plain 8-bit text written by whatever editor
// the screen-saver author used, so every line-break convention has to be accepted.
#include <string>
#include <vector>

namespace text {

// Cuts `text` into lines at CR LF, a lone LF or a lone CR. The first NUL ends the text. A line
// break at the very end adds no empty line after it, so joining the lines with CR LF and one
// final CR LF gives back the text in Windows form.
std::vector<std::string> SplitTextLines(const std::string& text);

}  // namespace text
