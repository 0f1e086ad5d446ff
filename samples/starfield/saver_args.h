#pragma once
// What Windows asks of a screen saver through its command line.
#include <cstdint>
#include <string>

namespace starfield {

enum class SaverMode { kFullScreen, kPreview, kSettings, kPassword };

struct SaverArgs {
  SaverMode mode = SaverMode::kSettings;
  uintptr_t window = 0;  // the preview's parent (/p) or the settings dialog's owner (/c:N)
};

// Accepts "/s", "/p N", "/p:N", "/c", "/c:N", "/a" (and '-' for '/', any case), after the
// program name. No argument, or anything else, means the settings, as Windows does.
SaverArgs ParseSaverArgs(const std::string& commandLine);

}  // namespace starfield
