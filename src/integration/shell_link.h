#pragma once
// Writing one shortcut into a special folder, and creating the folder a group of them lives in.
#include <string>

#include "os/files.h"
#include "os/shell.h"

namespace integration {

// A link path this long (plus its NUL) is the most the shell's path buffers take.
constexpr std::size_t kMaxLinkPathLength = 259;

// Writes <special folder>\<name>.lnk pointing at `target`, with the target's first icon. `name`
// may begin with one existing subfolder ("Title\Preview Title"). Raises ShortcutError when the
// folder cannot be had, the path would be too long, or the shell cannot save the link.
void CreateShellLink(os::Shell& shell, const std::string& target, const std::string& name,
                     int csidl);

}  // namespace integration
