#pragma once
// Splitting Windows paths and trimming texts the way the whole program does: the folder part runs
// up to and including the last backslash or colon, so "C:x.scr" has the folder "C:"; a blank is
// any code up to 32, control characters included.
#include <string>

namespace text {

std::string FolderPart(const std::string& path);
std::string FileNamePart(const std::string& path);
// The name a text from the package or the registry may give a file inside a folder we chose:
// what follows its last backslash, slash or colon (Windows takes a slash for a backslash too).
// Empty when only dots and blanks remain, which Windows reads as that folder or its parent.
std::string PlainFileName(const std::string& path);
// What goes before that name: up to and including the last backslash, slash or colon.
std::string PlainFolderPart(const std::string& path);
// The trailing-backslash rule, in one place. A folder that is joined with a name gets one
// backslash at its end (unchanged when it already ends in one or is empty) ...
std::string WithTrailingBackslash(const std::string& path);
// ... and a folder that is shown, joined as a registry key or as a subfolder loses every one.
std::string WithoutTrailingBackslashes(std::string path);
// The variant for a folder the user sees: a drive root keeps its backslash, and a bare drive
// gets one, as "C:" alone means the current folder of drive C.
std::string WithoutTrailingBackslashesButDriveRoot(std::string path);
// The variant for a path handed to the system as the user typed it: Windows takes a slash for a
// backslash, so trailing slashes go as well.
std::string WithoutTrailingSeparators(const std::string& path);

inline bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }
bool HasBlank(const std::string& text);
// Blanks removed from both ends.
std::string TrimBlanks(const std::string& text);

}  // namespace text
