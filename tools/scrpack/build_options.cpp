#include "scrpack/build_options.h"

#include <filesystem>

namespace scrpack {
namespace {

enum class Kind { kPath, kText, kOptionalText, kFlag };

struct Option {
  const char* name;
  Kind kind;
  std::string BuildOptions::*text = nullptr;
  std::optional<std::string> BuildOptions::*optional = nullptr;
  bool BuildOptions::*flag = nullptr;
};

Option Path(const char* name, std::string BuildOptions::*member) {
  return {name, Kind::kPath, member};
}
Option Text(const char* name, std::string BuildOptions::*member) {
  return {name, Kind::kText, member};
}
Option Optional(const char* name, std::optional<std::string> BuildOptions::*member) {
  return {name, Kind::kOptionalText, nullptr, member};
}
Option Flag(const char* name, bool BuildOptions::*member) {
  return {name, Kind::kFlag, nullptr, nullptr, member};
}

// Every setting, by its long option name; a project file uses the same names without "--".
const std::vector<Option>& Options() {
  static const std::vector<Option> options = {
      Path("--stub", &BuildOptions::stub),
      Path("--saver", &BuildOptions::saver),
      Path("--output", &BuildOptions::output),
      Path("--readme", &BuildOptions::readme),
      Path("--license", &BuildOptions::license),
      Path("--language", &BuildOptions::language),
      Text("--title", &BuildOptions::title),
      Text("--link", &BuildOptions::link),
      Text("--codepage", &BuildOptions::codepage),
      Optional("--file-name", &BuildOptions::fileName),
      Optional("--default-folder", &BuildOptions::defaultFolder),
      Optional("--default-subfolder", &BuildOptions::defaultSubfolder),
      Flag("--uninstall-entry", &BuildOptions::uninstallEntry),
      Flag("--start-menu", &BuildOptions::startMenu),
      Flag("--desktop-shortcut", &BuildOptions::desktopShortcut),
      Flag("--skip-folder-page", &BuildOptions::skipFolderPage),
  };
  return options;
}

const Option* FindOption(const std::string& name) {
  for (const Option& option : Options()) {
    if (name == option.name) return &option;
  }
  return nullptr;
}

void Set(BuildOptions& options, const Option& option, const std::string& value) {
  if (option.optional)
    options.*(option.optional) = value;
  else
    options.*(option.text) = value;
}

void RequireGiven(const BuildOptions& options, const std::string& value, const char* option) {
  if (!value.empty()) return;
  const std::string hint =
      options.project.empty() ? "" : " (on the command line or in the project file)";
  throw UsageError(std::string(option) + " is required" + hint);
}

// A project file written on Windows names folders with backslashes; it works on Linux as well.
std::string ProjectPath(const std::string& value, const std::string& folder) {
  if (value.empty()) return value;
  std::string portable = value;
#ifndef _WIN32
  for (char& c : portable) {
    if (c == '\\') c = '/';
  }
#endif
  const std::filesystem::path path = std::filesystem::u8path(portable);
  if (path.is_absolute() || folder.empty()) return path.u8string();
  return (std::filesystem::u8path(folder) / path).u8string();
}

}  // namespace

std::string BuildOptions::Where(const std::string& option) const {
  const auto origin = origins.find(option);
  return origin == origins.end() ? option : origin->second;
}

bool SetFromProject(BuildOptions& options, const std::string& name, const std::string& value,
                    const std::string& folder, const std::string& where) {
  const Option* option = FindOption(name);
  if (!option) return false;
  if (options.origins.count(name)) return true;  // the command line wins
  options.origins[name] = where;
  switch (option->kind) {
    case Kind::kFlag:
      if (value == "yes" || value == "true" || value == "1")
        options.*(option->flag) = true;
      else if (value == "no" || value == "false" || value == "0")
        options.*(option->flag) = false;
      else
        throw UsageError(where + ": expected yes or no, not '" + value + "'");
      break;
    case Kind::kPath: Set(options, *option, ProjectPath(value, folder)); break;
    default: Set(options, *option, value);
  }
  return true;
}

BuildOptions ParseBuildOptions(const std::vector<std::string>& args) {
  BuildOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string name = args[i] == "-o" ? "--output" : args[i];
    if (name == "--help" || name == "-h") {
      options.help = true;
      continue;
    }
    const Option* option = FindOption(name);
    if (!option && name != "--project") throw UsageError("unknown option '" + args[i] + "'");
    options.origins[name] = args[i];
    if (option && option->kind == Kind::kFlag) {
      options.*(option->flag) = true;
      continue;
    }
    if (i + 1 >= args.size()) throw UsageError(args[i] + " needs a value");
    const std::string& value = args[++i];
    if (option)
      Set(options, *option, value);
    else
      options.project = value;
  }
  if (options.help) return options;
  if (!options.project.empty()) ApplyProjectFile(options.project, options);
  RequireGiven(options, options.stub, "--stub");
  RequireGiven(options, options.saver, "--saver");
  RequireGiven(options, options.title, "--title");
  RequireGiven(options, options.output, "-o/--output");
  return options;
}

}  // namespace scrpack
