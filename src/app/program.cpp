#include "app/program.h"

#include "app/del_file.h"
#include "app/dll_search.h"

namespace app {

int RunProgram(os::Os& os, const std::function<int(const CommandLine&)>& runWindow) {
  ProtectDllSearch(os.system);
  const CommandLine commandLine = CommandLine::Parse(os.system.CommandLine());
  if (IsDelFileMode(commandLine)) return RunDelFile(os, commandLine);
  return runWindow(commandLine);
}

}  // namespace app
