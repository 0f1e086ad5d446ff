#include "install/install_names.h"

namespace install {

std::string LowerAsciiLetters(const std::string& text) {
  std::string lowered = text;
  for (char& c : lowered)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lowered;
}

std::string ReplaceExtension(const std::string& text, const std::string& extension) {
  const auto dot = text.find_last_of('.');
  const auto delimiter = text.find_last_of("\\:");
  const bool hasExtension = dot != std::string::npos && (delimiter == std::string::npos || dot > delimiter);
  return (hasExtension ? text.substr(0, dot) : text) + extension;
}

std::string UninstallerName(const std::string& translatedUninstall, const std::string& targetFileName) {
  return ReplaceExtension(LowerAsciiLetters(translatedUninstall) + " " + targetFileName, ".exe");
}

}  // namespace install
