#include "integration/shortcut_names.h"

#include "integration/item_name.h"
#include "language/texts.h"
#include "language/translation.h"

namespace integration {

std::string NameWord(const char* english) {
  std::string word = language::Translate(english);
  if (word.find_first_of("\\/") != std::string::npos) word = english;
  return word;
}

std::string PreviewLinkName(const std::string& title) {
  return NameWord(language::english::kPreview) + ' ' + title;
}

std::string ReadmeLinkName() { return NameWord(language::english::kReadme); }

std::string UninstallLinkName(const std::string& title) {
  return NameWord(language::english::kUninstall) + ' ' + title;
}

std::string ReadmeFileName(const std::string& title) {
  const std::string name = title + ' ' + NameWord(language::english::kReadme) + ".txt";
  return NameStaysInFolder(name) ? name : std::string();
}

}  // namespace integration
