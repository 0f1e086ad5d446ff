#include "os/win32/ansi_path.h"

#include <optional>

#include "os/win32/text_buffer.h"

namespace os::win32 {

namespace {

// The ANSI form of `wide`, or nullopt when a character has no exact counterpart in the code
// page. Best-fit look-alikes (a Greek mu for the micro sign) count as lost: they name another file.
std::optional<std::string> ExactAnsi(const std::wstring& wide) {
  if (wide.empty()) return std::string();
  // A UTF-8 code page holds every character; it refuses the flag and the lost-character test.
  const bool utf8 = GetACP() == CP_UTF8;
  const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  const int length = static_cast<int>(wide.size());
  const int size =
      WideCharToMultiByte(CP_ACP, flags, wide.data(), length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return std::nullopt;
  std::string ansi(static_cast<std::size_t>(size), '\0');
  BOOL lost = FALSE;
  if (WideCharToMultiByte(CP_ACP, flags, wide.data(), length, &ansi[0], size, nullptr,
                          utf8 ? nullptr : &lost) != size ||
      lost)
    return std::nullopt;
  return ansi;
}

}  // namespace

std::string UsableAnsiPath(const std::wstring& wide) {
  if (auto ansi = ExactAnsi(wide)) return *ansi;
  const std::wstring shortForm = FillText<wchar_t>(
      [&](wchar_t* buffer, DWORD size) { return GetShortPathNameW(wide.c_str(), buffer, size); });
  if (shortForm.empty()) return std::string();
  return ExactAnsi(shortForm).value_or(std::string());
}

std::optional<std::string> UsableItemPath(LPCITEMIDLIST item) {
  wchar_t buffer[MAX_PATH + 1] = {};
  if (!SHGetPathFromIDListW(item, buffer)) return std::nullopt;
  return UsableAnsiPath(buffer);
}

}  // namespace os::win32
