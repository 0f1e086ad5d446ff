#pragma once
// "Did you mean": the known name an author most likely meant when a key or an option is unknown.
#include <optional>
#include <string>
#include <vector>

namespace scrpack {

// The entry of `known` closest to `typed`, when it is close enough to be a slip of the keyboard:
// other capitals, a swapped pair, a letter left out, added or changed (more of them for longer
// names). Empty when nothing is that close.
std::optional<std::string> NearestName(const std::string& typed,
                                       const std::vector<std::string>& known);

// "; did you mean 'license'?" for NearestName's answer, or nothing.
std::string DidYouMean(const std::string& typed, const std::vector<std::string>& known);

// "unknown option '--jsno'; did you mean '--json'?" for an argument that looks like an option (it
// starts with '-') but is none of `known`; empty for any other argument.
std::string UnknownOption(const std::string& arg, const std::vector<std::string>& known);

}  // namespace scrpack
