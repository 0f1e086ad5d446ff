#pragma once
// A control's caption as the window was designed: none, a fixed text, or a text a language file
// translates, with fixed decoration around it ("< " + "Back").
#include <string>

namespace ui {

struct Caption {
  const char* text = nullptr;  // nullptr: no caption of its own
  bool translated = false;     // `text` is the English text a language file translates
  const char* before = "";
  const char* after = "";
};
constexpr Caption NoCaption() { return {}; }
constexpr Caption Fixed(const char* text) { return {text, false, "", ""}; }
constexpr Caption Translated(const char* key) { return {key, true, "", ""}; }
constexpr Caption Translated(const char* before, const char* key, const char* after) {
  return {key, true, before, after};
}

// The caption in English, as designed.
inline std::string DesignText(const Caption& caption) {
  return caption.text ? caption.before + std::string(caption.text) + caption.after : std::string();
}

}  // namespace ui
