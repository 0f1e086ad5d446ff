#pragma once
// File-system steps of the installation around the copy: the destination folder check and the
// readme writer.
#include <string>
#include <vector>

#include "os/files.h"

namespace install {

// The text names an existing folder (not a file).
bool IsExistingFolder(os::Files& files, const std::string& folder);

// Writes each line followed by CR LF into `file`; false when a write falls short. `buffer` collects
// the bytes so that the file gets a few large writes rather than one per line.
bool WriteLines(os::File& file, const std::vector<std::string>& lines,
                std::vector<uint8_t>& buffer);

}  // namespace install
