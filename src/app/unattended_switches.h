#pragma once
// The switches of an unattended run. They follow "-silent" (argument 1) in any order, as
// deployment tools put them together; an unknown one is ignored.
//   -dir FOLDER         the folder to install into; "-silent FOLDER" says the same
//   -yes                the uninstaller removes everything without asking and shows no box
//   -no-shell-install   the shell's "install" verb is left out
//   -log FILE           taken with its file, so that the file is never taken for the folder
#include <string>

#include "app/command_line.h"

namespace app {

// What an unattended run is told on its command line besides "-silent".
struct UnattendedOptions {
  std::string folder;                // empty: the default folder
  bool removeWithoutAsking = false;  // the uninstaller's "-yes": no question, no box at all
  bool shellInstall = true;          // off: the shell's "install" verb is left out
};

// Empty options unless argument 1 is the silent switch. Switch names are compared as "-silent"
// is: blanks and control characters around them dropped, A-Z lowered.
UnattendedOptions ReadUnattendedOptions(const CommandLine& commandLine);

}  // namespace app
