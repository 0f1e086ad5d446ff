#pragma once
// `scrpack winget`: the manifest with which winget installs, finds and removes a setup file.
#include <ostream>
#include <string>
#include <vector>

namespace scrpack {

extern const char kWingetHelp[];

// `scrpack winget SETUP -o FOLDER --id ID --url URL [...]`: writes the three files only when
// all three were written.
int RunWinget(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace scrpack
