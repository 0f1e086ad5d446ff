#pragma once
// What the window does once the installation has returned: the page it shows, or whether it
// closes. The installation only says how it ended; the window's way on is decided here.
#include "install/install_procedure.h"

namespace wizard {

enum class PageAfter { kUnchanged, kDirectory, kFinished };

struct AfterInstall {
  PageAfter page = PageAfter::kUnchanged;
  bool closeWindow = false;  // after the message: a failed attempt cannot be repeated
};

// A refused folder: the folder page again. Success: the readme follows on the caller's page step,
// or the finished page when there is none. A failure part-way: the window closes.
AfterInstall AfterInstallation(const install::InstallOutcome& outcome, bool hasReadme);

}  // namespace wizard
