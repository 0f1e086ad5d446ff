#pragma once
// `scrpack build`: the checks of every input, then the setup file (setup_writer.h) from the
// record and block the options make (record_options.h).
#include <ostream>
#include <string>
#include <vector>

namespace scrpack {

// The help, its limits those of the record's fields.
std::string BuildHelp();

// `scrpack build ...`: writes OUT.tmp and renames it to OUT only when everything was written.
int RunBuild(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace scrpack
