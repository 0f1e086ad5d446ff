#include <iostream>

#include "scrpack/scrpack.h"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>

#include <fcntl.h>
#include <io.h>

// The narrow arguments Windows hands to main are in the ANSI code page, which would lose every
// character outside it; scrpack works in UTF-8 on every platform, so it takes the UTF-16 ones.
static std::vector<std::string> Arguments(int, char**) {
  std::vector<std::string> args;
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  for (int i = 1; wide && i < count; ++i) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
    std::string arg(size > 0 ? size - 1 : 0, '\0');
    if (size > 1) WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, &arg[0], size, nullptr, nullptr);
    args.push_back(arg);
  }
  LocalFree(wide);
  // Messages end in "\n" alone, as on Linux.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  return args;
}
#else
static std::vector<std::string> Arguments(int argc, char** argv) { return {argv + 1, argv + argc}; }
#endif

int main(int argc, char** argv) {
  return scrpack::Run(Arguments(argc, argv), std::cout, std::cerr);
}
