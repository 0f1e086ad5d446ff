#include "app/del_file.h"

#include "uninstall/self_removal.h"
#include "app/exit_codes.h"

namespace app {

int RunDelFile(os::Os& os, const CommandLine& commandLine) {
  // The caption and the message come as parameters 3 and 4; a quote in the title can cut them or
  // spread them over more, and then there is no goodbye.
  const uninstall::Goodbye goodbye{commandLine.Arg(3), commandLine.Arg(4)};
  const bool gone = uninstall::FinishSelfRemoval(os, commandLine.Arg(2),
                                                 commandLine.Count() == 4 ? &goodbye : nullptr);
  return gone ? kExitDone : kExitFailedPartWay;
}

}  // namespace app
