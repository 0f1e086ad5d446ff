#pragma once
#include <ostream>
#include <string>
#include <vector>

namespace scrpack {

extern const char kBuildHelp[];

// `scrpack build ...`: writes OUT.tmp and renames it to OUT only when everything was written.
int RunBuild(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace scrpack
