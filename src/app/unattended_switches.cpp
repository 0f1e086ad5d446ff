#include "app/unattended_switches.h"

#include "text/ascii_case.h"
#include "text/path_parts.h"

namespace app {
namespace {

std::string SwitchName(const std::string& argument) {
  return text::LowerAsciiLetters(text::TrimBlanks(argument));
}

bool TakesValue(const std::string& name) { return name == "-dir" || name == "-log"; }

bool IsOurSwitch(const std::string& name) {
  return TakesValue(name) || name == "-yes" || name == "-no-shell-install";
}

}  // namespace

UnattendedOptions ReadUnattendedOptions(const CommandLine& commandLine) {
  UnattendedOptions options;
  if (!IsSilentSwitch(commandLine)) return options;
  // "-silent FOLDER": argument 2 as it stands, unless it is a switch of ours.
  if (!IsOurSwitch(SwitchName(commandLine.Arg(2)))) options.folder = commandLine.Arg(2);
  for (std::size_t i = 2; i <= commandLine.Count(); ++i) {
    const std::string name = SwitchName(commandLine.Arg(i));
    if (name == "-yes") options.removeWithoutAsking = true;
    if (name == "-no-shell-install") options.shellInstall = false;
    if (!TakesValue(name)) continue;
    if (name == "-dir" && i < commandLine.Count()) options.folder = commandLine.Arg(i + 1);
    ++i;  // the value is no switch, whatever it reads
  }
  return options;
}

}  // namespace app
