#include "text/text_lines.h"

namespace text {

std::vector<std::string> SplitTextLines(const std::string& text) {
  const std::size_t end = text.find('\0') == std::string::npos ? text.size() : text.find('\0');
  std::vector<std::string> lines;
  std::size_t lineStart = 0;
  std::size_t i = 0;
  while (i < end) {
    const char c = text[i];
    if (c != '\r' && c != '\n') {
      ++i;
      continue;
    }
    lines.push_back(text.substr(lineStart, i - lineStart));
    i += (c == '\r' && i + 1 < end && text[i + 1] == '\n') ? 2 : 1;
    lineStart = i;
  }
  if (lineStart < end) lines.push_back(text.substr(lineStart, end - lineStart));
  return lines;
}

}  // namespace text
