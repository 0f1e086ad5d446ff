#include <iostream>

#include "scrpack/scrpack.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return scrpack::Run(args, std::cout, std::cerr);
}
