#include "install/install_names.h"

#include "text/ascii_case.h"
#include "text/path_parts.h"

namespace install {

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

}  // namespace install
