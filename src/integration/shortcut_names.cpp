#include "integration/shortcut_names.h"

#include "integration/item_name.h"
#include "language/translation.h"

namespace integration {

std::string NameWord(const char* english) {
  std::string word = language::Translate(english);
  if (word.find_first_of("\\/") != std::string::npos) word = english;
  return word;
}

std::string PreviewLinkName(const std::string& title) { return NameWord("Preview") + ' ' + title; }

std::string ReadmeLinkName() { return NameWord("Readme"); }

std::string UninstallLinkName(const std::string& title) {
  return NameWord("Uninstall") + ' ' + title;
}

std::string ReadmeFileName(const std::string& title) {
  const std::string name = title + ' ' + NameWord("Readme") + ".txt";
  return NameStaysInFolder(name) ? name : std::string();
}

}  // namespace integration
