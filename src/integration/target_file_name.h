#pragma once
// Where the installation writes the screen-saver file when a file of that name is already there,
// and which recorded path names a file this title installed.
#include <string>

#include "callable/function_ref.h"
#include "integration/saver_file_name.h"
#include "os/files.h"

namespace integration {

// Highest number tried for a numbered name; the stem and the number share 8 characters.
constexpr int kHighestFileNumber = 9999999;

// `target` is the folder followed by the packaged file name; `folder` ends in a backslash.
// A free target stays. Otherwise the recorded path is reused when OwnRecordedPath takes it (a
// reinstallation over our own file, in the folder however it is spelt); failing that the first
// free numbered name wins: starfie1.scr ... starfie9.scr, starfi10.scr, ... `readRecordedPath`
// is called only when the target is taken; its errors pass through.
void ChooseTargetFileName(os::Files& files, callable::FunctionRef<std::string()> readRecordedPath,
                          std::string& target, const std::string& folder);

// The numbered name for `number`, shortening `stem` in place so that stem and digits fit in 8
// characters. Returns the empty text once the number has 8 digits.
std::string NumberedFileName(std::string& stem, const std::string& ending, int number);

// `name` is `packagedName` or one of the numbered names ChooseTargetFileName gives for it,
// without regard to the case of A-Z.
bool IsTargetNameFor(const std::string& name, const std::string& packagedName);

// The same folder as the system names it: full paths (slashes, "." and "..", trailing dots),
// then their short forms, compared without regard to case.
bool SameFolder(os::Files& files, const std::string& a, const std::string& b);

// The record is the user's, and any program the user runs may write it, while setup and the
// uninstaller often run with administrator rights: a recorded path names our file only when it
// is a full path into `folder`, its name is the packaged name or a numbered one, and it ends in
// ".scr". Then `folder` followed by that name; else the empty text.
std::string OwnRecordedPath(os::Files& files, const std::string& recorded,
                            const std::string& folder, const std::string& packagedName);

}  // namespace integration
