#include <sys/wait.h>

#include <cstdlib>

#include "scrpack/sign_command.h"

namespace scrpack {

int RunShellCommand(const std::string& commandLine) {
  const int status = std::system(commandLine.c_str());  // /bin/sh -c
  if (status == -1 || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

}  // namespace scrpack
