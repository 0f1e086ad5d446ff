#include "integration/uninstaller_name.h"

#include <algorithm>

#include "integration/target_file_name.h"
#include "text/ascii_case.h"
#include "text/path_parts.h"

namespace integration {

std::string ReplaceExtension(const std::string& path, const std::string& extension) {
  const std::string name = text::FileNamePart(path);
  const auto dot = name.find_last_of('.');
  return text::FolderPart(path) + (dot == std::string::npos ? name : name.substr(0, dot)) +
         extension;
}

std::string UninstallerName(const std::string& translatedUninstall,
                            const std::string& targetFileName) {
  return ReplaceExtension(text::LowerAsciiLetters(translatedUninstall) + " " + targetFileName,
                          ".exe");
}

std::string SaverNameOfUninstaller(const std::string& uninstallerFileName,
                                   const std::string& translatedUninstall,
                                   const std::string& packagedName) {
  const std::string prefix = text::LowerAsciiLetters(translatedUninstall) + " ";
  const std::string suffix = ".exe";
  if (uninstallerFileName.size() <= prefix.size() + suffix.size()) return std::string();
  const std::string base = uninstallerFileName.substr(
      prefix.size(), uninstallerFileName.size() - prefix.size() - suffix.size());
  const std::string extension =
      packagedName.substr(std::min(packagedName.find_last_of('.'), packagedName.size()));
  const std::string saver = base + extension;
  // Built back the way setup built it, so that a name this rule cannot have made tells nothing.
  if (!text::SameIgnoringAsciiCase(UninstallerName(translatedUninstall, saver),
                                   uninstallerFileName) ||
      !IsTargetNameFor(saver, packagedName))
    return std::string();
  return saver;
}

}  // namespace integration
