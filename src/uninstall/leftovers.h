#pragma once
// Files the uninstaller could not delete, and the closing message that tells the user about them:
// it never says "successfully removed" while a file of ours stays.
#include <string>
#include <vector>

#include "os/files.h"

namespace uninstall {

struct Leftovers {
  std::vector<std::string> atRestart;  // the system deletes them at the next restart
  std::vector<std::string> remaining;  // the system refused even that (no rights)
  std::vector<os::Cause> causes;       // why each of them could not be deleted at once
  bool Empty() const { return atRestart.empty() && remaining.empty(); }
};

// Deletes the file at `path` (nothing happens for an empty path). A file that is still there
// afterwards (in use, no access) is handed to the system for deletion at the next restart and
// noted in `leftovers`.
void DeleteOrScheduleAtRestart(os::Files& files, const std::string& path, Leftovers& leftovers);

// The translated success message when nothing stays; otherwise a translated message that says
// the removal is incomplete and lists each file that stays, and whether it goes at restart.
std::string ClosingMessage(const std::string& title, const Leftovers& leftovers);

}  // namespace uninstall
