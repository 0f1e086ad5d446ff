#pragma once
// Names of the shortcuts and of the readme file, built from translated words so that a
// translated setup makes, and its uninstaller removes, the same translated names.
#include <string>

namespace integration {

std::string PreviewLinkName(const std::string& title);    // "Preview <title>"
std::string ReadmeLinkName();                             // "Readme"
std::string UninstallLinkName(const std::string& title);  // "Uninstall <title>"
std::string ReadmeFileName(const std::string& title);     // "<title> Readme.txt"

}  // namespace integration
