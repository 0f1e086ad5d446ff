#include "uninstall/self_removal.h"

#include "text/path_parts.h"
#include "uninstall/temp_folder.h"

namespace uninstall {

namespace {
// The short form of the full path; the long form when the system has no short one.
std::string ShortUninstallerPath(os::Files& files, const std::string& modulePath) {
  std::string full = files.FullPathName(modulePath);
  if (full.empty()) full = modulePath;
  const std::string shortPath = files.ShortPathName(full);
  return shortPath.empty() ? full : shortPath;
}
}  // namespace

std::string DelFileCommandLine(const std::string& uninstallerPath, const std::string& caption,
                               const std::string& message) {
  const std::string path = text::HasBlank(uninstallerPath) ? '"' + uninstallerPath + '"' : uninstallerPath;
  return "-delfile " + path + " \"" + caption + "\" \"" + message + '"';
}

bool StartSelfRemoval(os::Os& os, os::WindowRef owner, const std::string& caption, const std::string& message) {
  const std::string modulePath = os.system.ModulePath();
  const std::string folder = TempFolder(os.files);
  if (modulePath.empty() || folder.empty()) return false;
  const std::string copy = folder + kTempCopyName;
  if (!os.files.CopyFileTo(modulePath, copy, false)) return false;
  const std::string uninstallerPath = ShortUninstallerPath(os.files, modulePath);
  // ShellExecuteA reports success with a value above 32.
  return os.shell.Execute(owner, "open", copy, DelFileCommandLine(uninstallerPath, caption, message), "",
                          os::kSwHide) > 32;
}

}  // namespace uninstall
