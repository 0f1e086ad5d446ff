#pragma once
// The real OS boundary, bundled: what the entry point hands to the logic.
#include "os/os.h"
#include "os/win32/win_files.h"
#include "os/win32/win_registry.h"
#include "os/win32/win_shell.h"
#include "os/win32/win_system.h"

namespace os::win32 {

class WinOs {
 public:
  os::Os Os() { return os::Os{files_, registry_, shell_, system_}; }

 private:
  WinFiles files_;
  WinRegistry registry_;
  WinShell shell_;
  WinSystem system_;
};

}  // namespace os::win32
