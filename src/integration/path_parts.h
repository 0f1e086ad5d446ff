#pragma once
// Splitting Windows paths the way the rest of the program does: the folder part runs up to and
// including the last backslash or colon, so "C:x.scr" has the folder "C:".
#include <string>

namespace integration {

std::string FolderPart(const std::string& path);
std::string FileNamePart(const std::string& path);
// The path with one backslash at its end (unchanged when it already ends in one or is empty).
std::string WithTrailingBackslash(const std::string& path);
// Blanks and control characters (codes up to 32) removed from both ends.
std::string TrimBlanks(const std::string& text);

}  // namespace integration
