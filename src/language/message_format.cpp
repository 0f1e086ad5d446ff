#include "language/message_format.h"

namespace language {

std::string FormatMessageText(const std::string& pattern, const std::string& argument) {
  std::string text;
  text.reserve(pattern.size() + argument.size());
  bool substituted = false;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
    if (pattern[i] == '%' && next == '%') {
      text += '%';
      ++i;
    } else if (pattern[i] == '%' && next == 's' && !substituted) {
      text += argument;
      substituted = true;
      ++i;
    } else {
      text += pattern[i];
    }
  }
  return text;
}

}  // namespace language
