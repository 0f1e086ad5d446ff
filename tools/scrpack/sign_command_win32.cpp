#include <windows.h>

#include <cstdlib>
#include <string>

#include "scrpack/sign_command.h"

namespace scrpack {

int RunShellCommand(const std::string& commandLine) {
  const int size = MultiByteToWideChar(CP_UTF8, 0, commandLine.c_str(), -1, nullptr, 0);
  if (size <= 0) return -1;
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, commandLine.c_str(), -1, &wide[0], size);
  wide.resize(static_cast<std::size_t>(size - 1));
  // cmd.exe /c drops the first and the last quote of a line that holds more than two; the outer
  // pair keeps the author's quotes and ours intact.
  return _wsystem((L"\"" + wide + L"\"").c_str());
}

}  // namespace scrpack
