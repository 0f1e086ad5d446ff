#pragma once
// Case folding the way Windows compares file names and switches, kept to A-Z: letters of the
// ANSI code page above 127 keep their case, whatever the locale.
#include <string>

namespace text {

std::string LowerAsciiLetters(const std::string& text);

// The two texts are equal once A-Z are lowered.
bool SameIgnoringAsciiCase(const std::string& a, const std::string& b);

// `text` begins with `prefix` once A-Z are lowered in both.
bool StartsWithIgnoringAsciiCase(const std::string& text, const std::string& prefix);

}  // namespace text
