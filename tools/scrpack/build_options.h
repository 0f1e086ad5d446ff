#pragma once
// The command line of `scrpack build`.
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace scrpack {

// A command line that cannot be used; the text names the option.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct BuildOptions {
  std::string stub;
  std::string saver;
  std::string title;
  std::string output;
  std::optional<std::string> fileName;  // default: the saver's own file name
  std::string readme;                   // paths; empty = no such text
  std::string license;
  std::string language;
  std::string link;
  std::optional<std::string> defaultFolder;     // default: "<Program Files>"
  std::optional<std::string> defaultSubfolder;  // default: the title
  bool uninstallEntry = false;
  bool startMenu = false;
  bool desktopShortcut = false;
  bool skipFolderPage = false;
  bool help = false;
};

// Throws UsageError for an unknown option, a missing value or a missing required option.
BuildOptions ParseBuildOptions(const std::vector<std::string>& args);

}  // namespace scrpack
