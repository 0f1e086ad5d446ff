#pragma once
// Names of the shortcuts and of the readme file, built from translated words so that a
// translated setup makes, and its uninstaller removes, the same translated names.
#include <string>

namespace integration {

// The translation of an English word for use in a file or link name. A translation holding a
// backslash or slash would take the name out of its folder: the English word stands in for it.
std::string NameWord(const char* english);

std::string PreviewLinkName(const std::string& title);    // "Preview <title>"
std::string ReadmeLinkName();                             // "Readme"
std::string UninstallLinkName(const std::string& title);  // "Uninstall <title>"
// "<title> Readme.txt"; the empty text when the title would take it out of the installation
// folder (a part such as ".."): then no readme file is written, linked or deleted.
std::string ReadmeFileName(const std::string& title);

}  // namespace integration
