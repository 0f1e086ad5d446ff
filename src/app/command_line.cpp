#include "app/command_line.h"

#include <algorithm>

#include "text/ascii_case.h"
#include "text/path_parts.h"

namespace app {

using text::IsBlank;

// An empty quoted argument ("") is kept as an empty argument, so that what follows it keeps its
// position; a quote left open runs to the end of the line.
std::vector<std::string> SplitArguments(const std::string& commandLine) {
  std::vector<std::string> args;
  std::size_t i = 0;
  const std::size_t end = std::min(commandLine.find('\0'), commandLine.size());
  while (i < end) {
    while (i < end && IsBlank(commandLine[i])) ++i;
    if (i >= end) break;
    std::string arg;
    bool quoted = false;
    for (; i < end && (quoted || !IsBlank(commandLine[i])); ++i) {
      if (commandLine[i] == '"')
        quoted = !quoted;
      else
        arg += commandLine[i];
    }
    args.push_back(arg);
  }
  return args;
}

CommandLine CommandLine::Parse(const std::string& commandLine) {
  return CommandLine(SplitArguments(commandLine));
}

bool IsSilentSwitch(const CommandLine& commandLine) {
  return text::LowerAsciiLetters(text::TrimBlanks(commandLine.Arg(1))) == "-silent";
}

bool IsDelFileMode(const CommandLine& commandLine) {
  return commandLine.Count() >= 2 && commandLine.Arg(1) == "-delfile";
}

}  // namespace app
