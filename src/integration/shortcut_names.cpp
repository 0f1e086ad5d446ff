#include "integration/shortcut_names.h"

#include "language/translation.h"

namespace integration {

using language::Translate;

std::string PreviewLinkName(const std::string& title) { return Translate("Preview") + ' ' + title; }

std::string ReadmeLinkName() { return Translate("Readme"); }

std::string UninstallLinkName(const std::string& title) { return Translate("Uninstall") + ' ' + title; }

std::string ReadmeFileName(const std::string& title) { return title + ' ' + Translate("Readme") + ".txt"; }

}  // namespace integration
