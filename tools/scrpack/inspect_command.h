#pragma once
#include <ostream>
#include <string>
#include <vector>

#include "package/package_reader.h"

namespace scrpack {

extern const char kInspectHelp[];

// `scrpack inspect FILE`: one "Name: value" line per field and section.
int RunInspect(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

void PrintPackage(const package::PackageInfo& info, std::ostream& out);

}  // namespace scrpack
