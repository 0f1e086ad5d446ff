#pragma once
// The whole OS boundary as one bundle of references, handed to the logic at start. Every call of
// it reports failure through its result and never raises (its calls are noexcept): the logic
// above decides what a failure means and raises the program's errors itself.
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
