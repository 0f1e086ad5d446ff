#pragma once
// Texts stored in the package (readme, licence) are plain 8-bit text written by whatever editor
// the screen-saver author used, so every line-break convention has to be accepted.
#include <string>
#include <string_view>
#include <vector>

namespace text {

// A text the system or a registry value hands over may carry a NUL, and nothing after it counts.
inline std::string UpToFirstNul(const std::string& text) { return text.substr(0, text.find('\0')); }

// Cuts `text` into lines at CR LF, a lone LF or a lone CR. The first NUL ends the text. A line
// break at the very end adds no empty line after it, so joining the lines with CR LF and one
// final CR LF gives back the text in Windows form.
std::vector<std::string> SplitTextLines(const std::string& text);

// The same cut, line by line: calls `onLine` with each line as a view into `text`.
template <typename OnLine>
void ForEachLine(std::string_view text, OnLine onLine) {
  const std::size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      onLine(text.substr(start));
      return;
    }
    onLine(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
}

}  // namespace text
