#pragma once
// scrpack: makes a setup file from the stub and a screen saver, and shows what a setup file or an
// uninstaller holds.
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace scrpack {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// Runs one command line (without the program name). Results go to `out`, messages to `err`.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Runs one command's work and turns what it throws into one line on `err` ("scrpack NAME: why")
// and the exit status: kExitUsage for input that cannot be used, kExitFailed for anything else.
int RunReporting(const char* name, std::ostream& err, const std::function<int()>& work);

}  // namespace scrpack
