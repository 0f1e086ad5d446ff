#pragma once
#include <ostream>
#include <string>
#include <vector>

namespace scrpack {

extern const char kInspectHelp[];
extern const char kVerifyHelp[];

// `scrpack inspect [--json] FILE`: one "Name: value" line per field and section.
int RunInspect(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// `scrpack verify [--json] FILE`: the start-up checks of the setup program, one line of result.
int RunVerify(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace scrpack
