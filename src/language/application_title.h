#pragma once
// The program's own name: the caption of its error boxes and of the closing message that the
// uninstaller's temporary copy shows. Never translated.

namespace language {

constexpr char kApplicationTitle[] = "Screensaver Setup";

}  // namespace language
