#pragma once
// Where the installation writes the screen-saver file when a file of that name is already there.
#include <functional>
#include <string>

#include "os/files.h"

namespace integration {

// Highest number tried for a numbered name; the stem and the number share 8 characters.
constexpr int kHighestFileNumber = 9999999;
constexpr std::size_t kShortStemLength = 8;

// `target` is the folder followed by the record's file name; `folder` ends in a backslash.
// A free target stays. Otherwise the recorded path is reused when its folder part is exactly
// `folder` (a reinstallation over our own file); failing that the first free numbered name wins:
// starfie1.scr ... starfie9.scr, starfi10.scr, ... `readRecordedPath` is called only when the
// target is taken; its errors pass through.
void ChooseTargetFileName(os::Files& files, const std::function<std::string()>& readRecordedPath,
                          std::string& target, const std::string& folder);

// The numbered name for `number`, shortening `stem` in place so that stem and digits fit in 8
// characters. Returns the empty text once the number has 8 digits.
std::string NumberedFileName(std::string& stem, const std::string& ending, int number);

}  // namespace integration
