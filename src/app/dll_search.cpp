#include "app/dll_search.h"

namespace app {

void ProtectDllSearch(os::System& system) {
  if (!system.RestrictDllSearchToSystemFolder()) system.RemoveCurrentFolderFromDllSearch();
  for (const char* helper : kHelperDlls) system.LoadSystemLibrary(helper);
}

}  // namespace app
