#pragma once
// scrpack: makes a setup file from the stub and a screen saver, and shows what a setup file or an
// uninstaller holds.
#include <ostream>
#include <string>
#include <vector>

namespace scrpack {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// Runs one command line (without the program name). Results go to `out`, messages to `err`.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace scrpack
