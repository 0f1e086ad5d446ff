// Uses std::stoi, whose error helper std::__throw_invalid_argument the stub's runtime does not
// replace: linking this with the stub's runtime must fail and name the helper.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  return std::stoi(std::string(commandLine));
}
