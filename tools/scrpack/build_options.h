#pragma once
// The settings of `scrpack build`, from the command line and a project file.
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace scrpack {

// Input that cannot be used; the text names the option (or the project file, line and key).
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct BuildOptions {
  std::string stub;  // paths
  std::string saver;
  std::string output;
  std::string readme;  // empty = no such text
  std::string license;
  std::string language;
  std::string project;
  std::string title;
  std::string link;
  std::string codepage;                         // default: 1252
  std::optional<std::string> fileName;          // default: the saver's own file name
  std::optional<std::string> defaultFolder;     // default: the Program Files placeholder
  std::optional<std::string> defaultSubfolder;  // default: the title
  std::string publisher;  // shown in the list of removable programs; empty = not written
  std::string version;
  std::string signCommand;           // runs the signing tool: holds {in} and {out}
  std::string uninstallerSignature;  // path of an uninstaller signed earlier
  bool uninstallEntry = false;
  bool startMenu = false;
  bool desktopShortcut = false;
  bool skipFolderPage = false;
  bool shellInstall = true;  // hand the saver to the shell's "install" verb after installing
  bool strict = false;       // warnings refuse the build
  bool compress = true;      // the image coded with LZMA; stored as it is with --no-compress
  bool help = false;

  // Where each given value came from, by long option name: the option itself ("--title") or the
  // project file's place ("stars.scrproj:4: title"). Messages name a value by it.
  std::map<std::string, std::string> origins;
  std::string Where(const std::string& option) const;
};

// The command line, then the project file it names (--project) for whatever the command line left
// unset. Every flag --NAME also comes as --no-NAME, and every option as --NAME=VALUE (a flag's
// value as in a project file). Throws UsageError for an unknown option or key, a missing value, a
// project file that cannot be read, or a missing required setting.
BuildOptions ParseBuildOptions(const std::vector<std::string>& args);

// Sets one setting by its long option name from a project file entry; false for an unknown name.
// Paths are taken relative to `folder`; flags take yes/no, true/false or 1/0 in any capitals.
// Throws UsageError for a bad flag value.
bool SetFromProject(BuildOptions& options, const std::string& option, const std::string& value,
                    const std::string& folder, const std::string& where);

// The project file's keys, for "did you mean".
std::vector<std::string> ProjectKeys();

// A file scrpack reads, by the long name of the option that gave it.
struct NamedPath {
  std::string option;
  std::string path;
};
// Every input file the options name (the project file among them); the output is not one.
std::vector<NamedPath> InputPaths(const BuildOptions& options);

// Reads a project file into `options` (project_file.cpp).
void ApplyProjectFile(const std::string& path, BuildOptions& options);

}  // namespace scrpack
