#pragma once
// The ANSI API's "fill this buffer" convention, done once: the call returns the length written
// (without the NUL) when the buffer was big enough, the size it needs (with the NUL) when it was
// not, and 0 on failure. Path lengths are not capped at MAX_PATH here.
#include <string>

namespace os::win32 {

template <typename Fill>
std::string FillString(Fill fill) {
  std::string buffer(261, '\0');
  for (int attempt = 0; attempt < 8; ++attempt) {
    const auto size = static_cast<unsigned long>(buffer.size());
    const unsigned long result = fill(&buffer[0], size);
    if (result == 0) return {};
    if (result < size) {
      buffer.resize(result);
      return buffer;
    }
    buffer.assign(result + 1, '\0');  // the text may grow between calls; try again
  }
  return {};
}

}  // namespace os::win32
