#pragma once
// The names an installation writes its files under before it puts them in place, and keeps the
// files they replace under until it has succeeded. They carry a tag of ours, so that what an
// installation cut off by a power cut or a killed process left beside the files can be told from
// anybody else's files and cleared away, by the next installation and by the uninstaller.
#include <string>
#include <vector>

#include "os/files.h"

namespace integration {

enum class StagingRole { kNew, kKept };

// Free names are looked for among this many numbers per file.
constexpr int kStagingNumbers = 10;

// "stars.scr.scrsetup-new", "stars.scr.scrsetup-new1", ... "stars.scr.scrsetup-old9".
std::string StagingName(const std::string& finalPath, StagingRole role, int number);

// The files of either role beside `finalPath` that are there now.
std::vector<std::string> StagingLeftovers(os::Files& files, const std::string& finalPath);

}  // namespace integration
