#include "text/ascii_case.h"

namespace text {

std::string LowerAsciiLetters(const std::string& text) {
  std::string lowered = text;
  for (char& c : lowered)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lowered;
}

bool SameIgnoringAsciiCase(const std::string& a, const std::string& b) {
  return LowerAsciiLetters(a) == LowerAsciiLetters(b);
}

bool StartsWithIgnoringAsciiCase(const std::string& text, const std::string& prefix) {
  return text.size() >= prefix.size() &&
         SameIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace text
