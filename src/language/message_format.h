#pragma once
// Fills a message pattern that may come from a translation, so it is never trusted as a printf
// format: the first "%s" takes the argument, "%%" stands for one "%", and every other "%"
// sequence (a second "%s" included) is kept as it stands. No input can make it read past its
// arguments.
#include <string>

namespace language {

std::string FormatMessageText(const std::string& pattern, const std::string& argument);

}  // namespace language
