#include "integration/shortcuts.h"

#include <vector>

#include "integration/integration_errors.h"
#include "integration/item_name.h"
#include "integration/shell_link.h"
#include "integration/shortcut_names.h"
#include "text/path_parts.h"

namespace integration {

namespace {

// Runs one making step; a shortcut that cannot be made must not stop the next one.
template <typename Step>
void Quietly(Step step) {
  try {
    step();
  } catch (...) {
  }
}

// The folder with a trailing backslash, or the empty text when it has no file-system path.
// Raises when the shell cannot give the folder at all.
std::string RequiredFolder(os::Shell& shell, int csidl) {
  const auto folder = shell.SpecialFolder(0, csidl);
  if (!folder)
    throw ShortcutError("The shell folder " + std::to_string(csidl) + " is not available.");
  return text::WithTrailingBackslash(*folder);
}

std::string ProgramsFolderOrEmpty(os::Shell& shell) {
  std::string folder;
  Quietly([&] { folder = shell.SpecialFolder(0, os::kCsidlPrograms).value_or(std::string()); });
  return text::WithTrailingBackslash(text::TrimBlanks(folder));
}

}  // namespace

void CreateDesktopShortcut(os::Os& os, const std::string& title,
                           const std::string& screensaverPath) {
  // A title with a part such as ".." would put the link somewhere else than on the desktop.
  if (!NameStaysInFolder(PreviewLinkName(title))) return;
  Quietly([&] {
    CreateShellLink(os.shell, screensaverPath, PreviewLinkName(title), os::kCsidlDesktop);
  });
}

void RemoveDesktopShortcut(os::Os& os, const std::string& title) {
  if (!NameStaysInFolder(PreviewLinkName(title))) return;
  const std::string desktop = RequiredFolder(os.shell, os::kCsidlDesktop);
  if (desktop.empty()) return;
  os.files.DeleteFileAt(desktop + PreviewLinkName(title) + ".lnk");
}

void CreateStartMenuGroup(os::Os& os, const std::string& title, const std::string& uninstallerPath,
                          const std::string& screensaverPath, bool hasReadme) {
  if (!TitleNamesOwnItem(title)) return;
  const std::string programs = ProgramsFolderOrEmpty(os.shell);
  if (programs.empty()) return;
  // Not checked: a group folder that cannot be made shows as links that cannot be saved.
  std::vector<std::string> created;
  os::CreateFolderWithParents(os.files, programs + title, created);
  const std::string inGroup = title + '\\';
  Quietly([&] {
    CreateShellLink(os.shell, screensaverPath, inGroup + PreviewLinkName(title),
                    os::kCsidlPrograms);
  });
  if (hasReadme && !ReadmeFileName(title).empty()) {
    const std::string readme = text::FolderPart(screensaverPath) + ReadmeFileName(title);
    Quietly(
        [&] { CreateShellLink(os.shell, readme, inGroup + ReadmeLinkName(), os::kCsidlPrograms); });
  }
  Quietly([&] {
    CreateShellLink(os.shell, uninstallerPath, inGroup + UninstallLinkName(title),
                    os::kCsidlPrograms);
  });
}

void RemoveStartMenuGroup(os::Os& os, const std::string& title) {
  // Without a group of its own, the names below would point into the Programs folder itself.
  if (!TitleNamesOwnItem(title)) return;
  const std::string programs = RequiredFolder(os.shell, os::kCsidlPrograms);
  if (programs.empty()) return;
  const std::string group = programs + title + '\\';
  os.files.DeleteFileAt(group + PreviewLinkName(title) + ".lnk");
  os.files.DeleteFileAt(group + ReadmeLinkName() + ".lnk");  // tried also when there was no readme
  os.files.DeleteFileAt(group + UninstallLinkName(title) + ".lnk");
  os.files.RemoveFolder(programs + title);
}

}  // namespace integration
