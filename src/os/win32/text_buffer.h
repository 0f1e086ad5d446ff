#pragma once
// The API's "fill this buffer" convention, done once for the ANSI and the wide calls: the call
// returns the length written (without the NUL) when the buffer was big enough, the size it needs
// (with the NUL) when it was not, and 0 on failure. Path lengths are not capped at MAX_PATH here.
#include <string>

namespace os::win32 {

template <typename Char, typename Fill>
std::basic_string<Char> FillText(Fill fill) {
  std::basic_string<Char> buffer(261, Char());
  for (int attempt = 0; attempt < 8; ++attempt) {
    const auto size = static_cast<unsigned long>(buffer.size());
    const unsigned long result = fill(&buffer[0], size);
    if (result == 0) return {};
    if (result < size) {
      buffer.resize(result);
      return buffer;
    }
    buffer.assign(result + 1, Char());  // the text may grow between calls; try again
  }
  return {};
}

// The ANSI calls' form.
template <typename Fill>
std::string FillString(Fill fill) {
  return FillText<char>(fill);
}

}  // namespace os::win32
