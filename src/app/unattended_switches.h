#pragma once
// The switches of a run. Those of an unattended run follow "-silent" (argument 1) in any order, as
// deployment tools put them together; an unknown one is ignored.
//   -dir FOLDER         the folder to install into; "-silent FOLDER" says the same
//   -yes                the uninstaller removes everything without asking and shows no box
//   -no-shell-install   the shell's "install" verb is left out
//   -log FILE           the run's log, appended to; taken in every mode, with or without -silent
#include <string>
#include <vector>

#include "app/command_line.h"
#include "runlog/log_lines.h"

namespace app {

// What an unattended run is told on its command line besides "-silent".
struct UnattendedOptions {
  std::string folder;                // empty: the default folder
  bool removeWithoutAsking = false;  // the uninstaller's "-yes": no question, no box at all
  bool shellInstall = true;          // off: the shell's "install" verb is left out
};

// What the switches make of a whole command line.
struct Switches {
  UnattendedOptions unattended;  // empty unless argument 1 is the silent switch
  std::string logFile;           // as given; empty: no log
  // Every argument that no switch took, so that a log can show what was not understood (an
  // unquoted folder with blanks arrives as several arguments, and only the first is the folder).
  std::vector<runlog::IgnoredArgument> ignored;
};

// Switch names are compared as "-silent" is: blanks and control characters around them dropped,
// A-Z lowered.
Switches ReadSwitches(const CommandLine& commandLine);

inline UnattendedOptions ReadUnattendedOptions(const CommandLine& commandLine) {
  return ReadSwitches(commandLine).unattended;
}

}  // namespace app
