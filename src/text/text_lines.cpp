#include "text/text_lines.h"

namespace text {

std::vector<std::string> SplitTextLines(const std::string& text) {
  std::vector<std::string> lines;
  ForEachLine(text, [&lines](std::string_view line) { lines.emplace_back(line); });
  return lines;
}

}  // namespace text
