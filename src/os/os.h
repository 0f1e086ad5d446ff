#pragma once
// The whole OS boundary as one bundle of references, handed to the logic at start.
#include "os/files.h"
#include "os/registry.h"
#include "os/shell.h"
#include "os/system.h"

namespace os {

struct Os {
  Files& files;
  Registry& registry;
  Shell& shell;
  System& system;
};

}  // namespace os
