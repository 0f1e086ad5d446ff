#include "install/real_folder.h"

#include "text/ascii_case.h"
#include "text/path_parts.h"

namespace install {

std::string RealFolderOf(os::Files& files, const std::string& folder) {
  const std::string wow64 = files.SystemWow64Directory();
  if (wow64.empty()) return folder;  // no redirection for this program
  const std::string system = text::WithTrailingBackslash(files.SystemDirectory());
  const std::string full = text::WithTrailingBackslash(files.FullPathName(folder));
  if (system.size() <= 1 || !text::StartsWithIgnoringAsciiCase(full, system)) return folder;
  // A few folders below the system folder are never redirected; the system tells by having the
  // folder on the other side or not.
  const std::string real = text::WithTrailingBackslash(wow64) + full.substr(system.size());
  return os::IsFolderAt(files, real) ? real : folder;
}

}  // namespace install
