#include "integration/shell_link.h"

#include "integration/integration_errors.h"
#include "text/path_parts.h"

namespace integration {

void CreateShellLink(os::Shell& shell, const std::string& target, const std::string& name,
                     int csidl) {
  const auto folder = shell.SpecialFolder(0, csidl);
  // A folder without a file-system path would put the link at the root of the current drive.
  if (!folder || folder->empty())
    throw ShortcutError("The shell folder " + std::to_string(csidl) + " is not available.");
  const std::string linkPath = *folder + '\\' + name + ".lnk";
  if (linkPath.size() > kMaxLinkPathLength)
    throw ShortcutError("The shortcut path is too long: " + linkPath);
  os::ShellLink link;
  link.target = target;
  link.iconPath = target;
  link.iconIndex = 0;
  if (shell.SaveLink(link, linkPath) != 0)
    throw ShortcutError("The shortcut could not be saved: " + linkPath);
}

}  // namespace integration
