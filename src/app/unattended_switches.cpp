#include "app/unattended_switches.h"

#include "text/ascii_case.h"
#include "text/path_parts.h"

namespace app {
namespace {

std::string SwitchName(const std::string& argument) {
  return text::LowerAsciiLetters(text::TrimBlanks(argument));
}

bool TakesValue(const std::string& name) { return name == "-dir" || name == runlog::kLogSwitch; }

bool IsOurSwitch(const std::string& name) {
  return TakesValue(name) || name == "-yes" || name == "-no-shell-install";
}

// Takes the switch at `i` (and its value) into `switches`; returns how many arguments it used, 0
// when the argument is none of the switches `silent` allows.
std::size_t TakeSwitch(const CommandLine& commandLine, std::size_t i, bool silent,
                       Switches& switches) {
  const std::string name = SwitchName(commandLine.Arg(i));
  const bool hasValue = i < commandLine.Count();
  if (name == runlog::kLogSwitch) {
    if (hasValue) switches.logFile = commandLine.Arg(i + 1);
    return 2;  // the value is no switch, whatever it reads
  }
  if (!silent) return 0;
  if (name == "-dir") {
    if (hasValue) switches.unattended.folder = commandLine.Arg(i + 1);
    return 2;
  }
  if (name == "-yes") switches.unattended.removeWithoutAsking = true;
  if (name == "-no-shell-install") switches.unattended.shellInstall = false;
  return IsOurSwitch(name) ? 1 : 0;
}

}  // namespace

Switches ReadSwitches(const CommandLine& commandLine) {
  Switches switches;
  const bool silent = IsSilentSwitch(commandLine);
  std::size_t i = 1;
  if (silent) {
    ++i;
    // "-silent FOLDER": argument 2 as it stands, unless it is a switch of ours.
    if (commandLine.Count() >= 2 && !IsOurSwitch(SwitchName(commandLine.Arg(2))))
      switches.unattended.folder = commandLine.Arg(i++);
  }
  while (i <= commandLine.Count()) {
    const std::size_t used = TakeSwitch(commandLine, i, silent, switches);
    if (used == 0) switches.ignored.push_back({i, commandLine.Arg(i)});
    i += used == 0 ? 1 : used;
  }
  return switches;
}

}  // namespace app
