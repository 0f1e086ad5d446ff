// The initial destination folder: the author's default folder and subfolder, joined, with the
// placeholders for the Windows and Program Files folders filled in for this machine.
#include <string>

#include "language/translation.h"
#include "package/settings_record.h"
#include "text/path_parts.h"
#include "wizard/scr_setup.h"

namespace wizard {
namespace {

using text::TrimBlanks;
using text::WithoutTrailingBackslashes;
using text::WithTrailingBackslash;

// The subfolder is appended to a folder that already ends with a backslash, and the joined path
// gets its own final backslash, so one at either end of the subfolder is dropped.
std::string NormalizedSubfolder(const std::string& subFolder) {
  std::string sub = TrimBlanks(subFolder);
  if (!sub.empty() && sub.front() == '\\') sub.erase(0, 1);
  return WithoutTrailingBackslashes(sub);
}

}  // namespace

std::string ExpandFolderMacros(os::Os& os, os::WindowRef owner, const std::string& defaultFolder,
                               const std::string& subFolder) {
  // A blank default folder still gets its backslash: the subfolder then hangs off the root.
  const std::string trimmed = TrimBlanks(defaultFolder);
  const std::string folder = trimmed.empty() ? "\\" : WithTrailingBackslash(trimmed);
  std::string path = WithTrailingBackslash(TrimBlanks(folder + NormalizedSubfolder(subFolder)));
  // The system is asked only for folders the path actually names.
  if (path.find(package::kWindowsPlaceholder) != std::string::npos)
    path = language::ReplaceAll(path, package::kWindowsPlaceholder,
                                WithoutTrailingBackslashes(os.files.WindowsDirectory()));
  if (path.find(package::kProgramFilesPlaceholder) != std::string::npos)
    path = language::ReplaceAll(path, package::kProgramFilesPlaceholder,
                                WithoutTrailingBackslashes(ProgramFilesFolder(os, owner)));
  return path;
}

// Without a Program Files folder the placeholder simply disappears; the installation then
// checks the folder that results and reports it if it cannot be used.
std::string ProgramFilesFolder(os::Os& os, os::WindowRef owner) {
  return os.shell.SpecialFolder(owner, os::kCsidlProgramFiles).value_or(std::string());
}

}  // namespace wizard
