#include "integration/uninstaller_name.h"

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
  // UninstallerName taken apart: the lowered word and a blank before, ".exe" for the extension.
  const std::string prefix = text::LowerAsciiLetters(translatedUninstall) + ' ';
  constexpr std::size_t kExeLength = 4;  // ".exe"
  const std::size_t size = uninstallerFileName.size();
  if (size <= prefix.size() + kExeLength ||
      !text::StartsWithIgnoringAsciiCase(uninstallerFileName, prefix) ||
      !text::SameIgnoringAsciiCase(uninstallerFileName.substr(size - kExeLength), ".exe"))
    return std::string();
  const std::size_t dot = packagedName.find_last_of('.');
  std::string saver = uninstallerFileName.substr(prefix.size(), size - prefix.size() - kExeLength);
  if (dot != std::string::npos) saver.append(packagedName, dot, std::string::npos);
  // Only a name setup could have chosen: the packaged one or a numbered one.
  return IsTargetNameFor(saver, packagedName) ? saver : std::string();
}

}  // namespace integration
