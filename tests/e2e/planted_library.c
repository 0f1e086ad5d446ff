/* A DLL as an attacker would plant it next to a setup file: loading it is all it takes. It
   leaves "<its own path>.loaded" behind, which the tests look for. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved) {
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) {
    char path[MAX_PATH + 8];
    const DWORD length = GetModuleFileNameA(self, path, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
      lstrcpyA(path + length, ".loaded");
      HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
      if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    }
  }
  return TRUE;
}
