// Stands in for the screen saver's "install" verb in the test prefix: it writes down what the
// shell handed it (one line, arguments separated by tabs) instead of starting the saver, whose
// settings dialog would otherwise linger.
#include <windows.h>

#include <cstdlib>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char logPath[MAX_PATH * 2] = {};
  DWORD length = GetEnvironmentVariableA("SCR_E2E_INSTALL_LOG", logPath, sizeof(logPath));
  if (length == 0 || length >= sizeof(logPath)) {
    length = GetModuleFileNameA(nullptr, logPath, sizeof(logPath) - 16);
    std::string own(logPath, length);
    own = own.substr(0, own.find_last_of('\\') + 1) + "install_recorder.log";
    lstrcpynA(logPath, own.c_str(), sizeof(logPath));
  }
  std::string line;
  for (int i = 1; i < __argc; ++i) line += std::string(i > 1 ? "\t" : "") + __argv[i];
  line += "\r\n";
  HANDLE log = CreateFileA(logPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (log == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(log);
  return 0;
}
