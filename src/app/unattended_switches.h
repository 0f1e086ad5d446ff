#pragma once
// The switches of an unattended run. They follow "-silent" (argument 1) in any order, as
// deployment tools put them together; an unknown one is ignored.
//   -dir FOLDER         the folder to install into; "-silent FOLDER" says the same
//   -yes                the uninstaller removes everything without asking and shows no box
//   -no-shell-install   the shell's "install" verb is left out
//   -log FILE           taken with its file, so that the file is never taken for the folder
#include "app/command_line.h"
#include "wizard/scr_setup.h"

namespace app {

// Empty options unless argument 1 is the silent switch. Switch names are compared as "-silent"
// is: blanks and control characters around them dropped, A-Z lowered.
wizard::UnattendedOptions ReadUnattendedOptions(const CommandLine& commandLine);

}  // namespace app
