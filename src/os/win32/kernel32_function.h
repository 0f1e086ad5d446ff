#pragma once
// kernel32 functions that older systems lack, looked up at run time rather than imported, so
// that the program still starts there.
#include <windows.h>

namespace os::win32 {

// The function of that name, or null where the system lacks it. kernel32 is always loaded, so
// this loads nothing.
template <typename Function>
Function Kernel32Function(const char* name) {
  const HMODULE kernel32 = GetModuleHandleA("kernel32.dll");
  if (!kernel32) return nullptr;
  // Through the generic function type, which converts to any other without a warning.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(kernel32, name)));
}

}  // namespace os::win32
