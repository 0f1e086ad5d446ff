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
bool Quietly(Step step) {
  try {
    step();
    return true;
  } catch (...) {
    return false;
  }
}

// The folder with a trailing backslash, or the empty text when it has no file-system path.
// Raises when the shell cannot give the folder at all.
std::string RequiredFolder(os::Shell& shell, int csidl) {
  const auto folder = shell.SpecialFolder(0, csidl);
  if (!folder)
    throw ShortcutError(
        "The shell folder " + std::to_string(csidl) + " is not available.",
        os::Cause{"find the shell folder " + std::to_string(csidl), {}, shell.LastError()});
  return text::WithTrailingBackslash(*folder);
}

std::string FolderOrEmpty(os::Shell& shell, int csidl) {
  std::string folder;
  Quietly([&] { folder = shell.SpecialFolder(0, csidl).value_or(std::string()); });
  return text::WithTrailingBackslash(text::TrimBlanks(folder));
}

// Where the links go: the user's own folders, or every user's when we run as LocalSystem (as
// deployment tools run us), whose own desktop and Start menu nobody ever sees.
struct LinkFolders {
  int desktop;
  int programs;
};
constexpr LinkFolders kUsersOwn{os::kCsidlDesktop, os::kCsidlPrograms};
constexpr LinkFolders kEveryUsers{os::kCsidlCommonDesktop, os::kCsidlCommonPrograms};

LinkFolders LinkFoldersFor(os::System& system) {
  return system.RunsAsLocalSystem() ? kEveryUsers : kUsersOwn;
}

void RemoveLink(os::Files& files, const std::string& path, LinkRemoval& removal) {
  if (files.DeleteFileAt(path)) {
    removal.links.push_back(path);
    return;
  }
  const os::ErrorCode code = files.LastError();
  // Most names are tried whether or not the link was ever made: only one that is there failed.
  if (os::IsFileNotFolderAt(files, path))
    removal.failures.push_back(os::Cause{"delete the link", path, code});
}

void RemoveGroupFrom(os::Files& files, const std::string& programs, const std::string& title,
                     LinkRemoval& removal) {
  if (programs.empty()) return;
  const std::string group = programs + title + '\\';
  RemoveLink(files, group + PreviewLinkName(title) + ".lnk", removal);
  RemoveLink(files, group + ReadmeLinkName() + ".lnk", removal);  // also when there was no readme
  RemoveLink(files, group + UninstallLinkName(title) + ".lnk", removal);
  if (files.RemoveFolder(programs + title)) removal.groups.push_back(programs + title);
}

void RemovePreviewFrom(os::Files& files, const std::string& desktop, const std::string& title,
                       LinkRemoval& removal) {
  if (!desktop.empty()) RemoveLink(files, desktop + PreviewLinkName(title) + ".lnk", removal);
}

}  // namespace

std::vector<std::string> CreateDesktopShortcut(os::Os& os, const std::string& title,
                                               const std::string& screensaverPath) {
  // A title with a part such as ".." would put the link somewhere else than on the desktop.
  if (!NameStaysInFolder(PreviewLinkName(title))) return {};
  const int desktop = LinkFoldersFor(os.system).desktop;
  if (!Quietly(
          [&] { CreateShellLink(os.shell, screensaverPath, PreviewLinkName(title), desktop); }))
    return {};
  return {FolderOrEmpty(os.shell, desktop) + PreviewLinkName(title) + ".lnk"};
}

LinkRemoval RemoveDesktopShortcut(os::Os& os, const std::string& title) {
  LinkRemoval removal;
  if (!NameStaysInFolder(PreviewLinkName(title))) return removal;
  RemovePreviewFrom(os.files, RequiredFolder(os.shell, kUsersOwn.desktop), title, removal);
  // One a deployment tool's run put there; only an administrator may delete it, and tries.
  RemovePreviewFrom(os.files, FolderOrEmpty(os.shell, kEveryUsers.desktop), title, removal);
  return removal;
}

std::vector<std::string> CreateStartMenuGroup(os::Os& os, const std::string& title,
                                              const std::string& uninstallerPath,
                                              const std::string& screensaverPath, bool hasReadme) {
  if (!TitleNamesOwnItem(title)) return {};
  const int csidl = LinkFoldersFor(os.system).programs;
  const std::string programs = FolderOrEmpty(os.shell, csidl);
  if (programs.empty()) return {};
  std::vector<std::string> made;
  const auto link = [&](const std::string& target, const std::string& name) {
    if (Quietly([&] { CreateShellLink(os.shell, target, name, csidl); }))
      made.push_back(programs + name + ".lnk");
  };
  // Not checked: a group folder that cannot be made shows as links that cannot be saved.
  std::vector<std::string> created;
  os::CreateFolderWithParents(os.files, programs + title, created);
  const std::string inGroup = title + '\\';
  link(screensaverPath, inGroup + PreviewLinkName(title));
  if (hasReadme && !ReadmeFileName(title).empty())
    link(text::FolderPart(screensaverPath) + ReadmeFileName(title), inGroup + ReadmeLinkName());
  link(uninstallerPath, inGroup + UninstallLinkName(title));
  return made;
}

LinkRemoval RemoveStartMenuGroup(os::Os& os, const std::string& title) {
  LinkRemoval removal;
  // Without a group of its own, the names below would point into the Programs folder itself.
  if (!TitleNamesOwnItem(title)) return removal;
  RemoveGroupFrom(os.files, RequiredFolder(os.shell, kUsersOwn.programs), title, removal);
  RemoveGroupFrom(os.files, FolderOrEmpty(os.shell, kEveryUsers.programs), title, removal);
  return removal;
}

}  // namespace integration
