#include "scrpack/build_options.h"

#include <filesystem>

#include "scrpack/nearest_name.h"
#include "scrpack/sign_command.h"
#include "text/ascii_case.h"

namespace scrpack {
namespace {

enum class Kind { kInputPath, kOutputPath, kText, kOptionalText, kFlag };

struct Option {
  const char* name;
  Kind kind;
  std::string BuildOptions::*text = nullptr;
  std::optional<std::string> BuildOptions::*optional = nullptr;
  bool BuildOptions::*flag = nullptr;

  bool IsPath() const { return kind == Kind::kInputPath || kind == Kind::kOutputPath; }
};

Option Input(const char* name, std::string BuildOptions::*member) {
  return {name, Kind::kInputPath, member};
}
Option Output(const char* name, std::string BuildOptions::*member) {
  return {name, Kind::kOutputPath, member};
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

constexpr char kNegation[] = "--no-";
constexpr char kProject[] = "--project";

// Every setting, by its long option name; a project file uses the same names without "--".
const std::vector<Option>& Options() {
  static const std::vector<Option> options = {
      Input("--stub", &BuildOptions::stub),
      Input("--saver", &BuildOptions::saver),
      Output("--output", &BuildOptions::output),
      Input("--readme", &BuildOptions::readme),
      Input("--license", &BuildOptions::license),
      Input("--language", &BuildOptions::language),
      Text("--title", &BuildOptions::title),
      Text("--link", &BuildOptions::link),
      Text("--codepage", &BuildOptions::codepage),
      Optional("--file-name", &BuildOptions::fileName),
      Optional("--default-folder", &BuildOptions::defaultFolder),
      Optional("--default-subfolder", &BuildOptions::defaultSubfolder),
      Text("--publisher", &BuildOptions::publisher),
      Text("--version", &BuildOptions::version),
      Text("--sign-command", &BuildOptions::signCommand),
      Input("--uninstaller-signature", &BuildOptions::uninstallerSignature),
      Flag("--uninstall-entry", &BuildOptions::uninstallEntry),
      Flag("--start-menu", &BuildOptions::startMenu),
      Flag("--desktop-shortcut", &BuildOptions::desktopShortcut),
      Flag("--skip-folder-page", &BuildOptions::skipFolderPage),
      Flag("--shell-install", &BuildOptions::shellInstall),
      Flag("--strict", &BuildOptions::strict),
      Flag("--compress", &BuildOptions::compress),
  };
  return options;
}

const Option* FindOption(const std::string& name) {
  for (const Option& option : Options()) {
    if (name == option.name) return &option;
  }
  return nullptr;
}

// What the command line accepts, for "did you mean".
std::vector<std::string> CommandLineNames() {
  std::vector<std::string> names = {kProject, "--help"};
  for (const Option& option : Options()) {
    names.emplace_back(option.name);
    if (option.kind == Kind::kFlag) names.push_back(kNegation + std::string(option.name + 2));
  }
  return names;
}

void Set(BuildOptions& options, const Option& option, const std::string& value) {
  if (option.optional)
    options.*(option.optional) = value;
  else
    options.*(option.text) = value;
}

// yes/no, true/false, 1/0, in any capitals; `where` names the value for the message.
bool FlagValue(const std::string& value, const std::string& where) {
  const std::string lowered = text::LowerAsciiLetters(value);
  if (lowered == "yes" || lowered == "true" || lowered == "1") return true;
  if (lowered == "no" || lowered == "false" || lowered == "0") return false;
  throw UsageError(where + ": expected yes or no (or true/false, 1/0), not '" + value + "'");
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

// One command-line argument (and the value after it, when it takes one); `i` moves past both.
void ParseArgument(const std::vector<std::string>& args, std::size_t& i, BuildOptions& options) {
  const std::string& arg = args[i];
  std::string name = arg == "-o" ? "--output" : arg;
  std::optional<std::string> value;
  const std::size_t equals = name.find('=');
  if (name.compare(0, 2, "--") == 0 && equals != std::string::npos) {
    value = name.substr(equals + 1);
    name.erase(equals);
  }
  bool negated = false;
  const Option* option = FindOption(name);
  if (!option && name.compare(0, 5, kNegation) == 0) {
    option = FindOption("--" + name.substr(5));
    negated = option && option->kind == Kind::kFlag && !value;
    if (!negated) option = nullptr;
  }
  if (!option && name != kProject)
    throw UsageError("unknown option '" + arg + "'" + DidYouMean(name, CommandLineNames()));
  const std::string canonical = option ? option->name : kProject;
  options.origins[canonical] = arg;
  if (option && option->kind == Kind::kFlag) {
    options.*(option->flag) = value ? FlagValue(*value, arg) : !negated;
    return;
  }
  if (!value) {
    if (i + 1 >= args.size()) throw UsageError(arg + " needs a value");
    value = args[++i];
  }
  if (option)
    Set(options, *option, *value);
  else
    options.project = *value;
}

}  // namespace

std::string BuildOptions::Where(const std::string& option) const {
  const auto origin = origins.find(option);
  return origin == origins.end() ? option : origin->second;
}

std::vector<std::string> ProjectKeys() {
  std::vector<std::string> keys;
  for (const Option& option : Options()) keys.emplace_back(option.name + 2);
  return keys;
}

std::vector<NamedPath> InputPaths(const BuildOptions& options) {
  std::vector<NamedPath> paths;
  if (!options.project.empty()) paths.push_back({kProject, options.project});
  for (const Option& option : Options()) {
    if (option.kind == Kind::kInputPath && !(options.*(option.text)).empty())
      paths.push_back({option.name, options.*(option.text)});
  }
  return paths;
}

bool SetFromProject(BuildOptions& options, const std::string& name, const std::string& value,
                    const std::string& folder, const std::string& where) {
  const Option* option = FindOption(name);
  if (!option) return false;
  if (options.origins.count(name)) return true;  // the command line wins
  options.origins[name] = where;
  if (option->kind == Kind::kFlag)
    options.*(option->flag) = FlagValue(value, where);
  else if (option->IsPath())
    Set(options, *option, ProjectPath(value, folder));
  else
    Set(options, *option, value);
  return true;
}

BuildOptions ParseBuildOptions(const std::vector<std::string>& args) {
  BuildOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--help" || args[i] == "-h")
      options.help = true;
    else
      ParseArgument(args, i, options);
  }
  if (options.help) return options;
  if (!options.project.empty()) ApplyProjectFile(options.project, options);
  RequireGiven(options, options.stub, "--stub");
  RequireGiven(options, options.saver, "--saver");
  RequireGiven(options, options.title, "--title");
  RequireGiven(options, options.output, "-o/--output");
  if (!options.signCommand.empty() && !options.uninstallerSignature.empty())
    throw UsageError(options.Where("--sign-command") + " and " +
                     options.Where("--uninstaller-signature") +
                     " both give the uninstaller's signature; give one of them");
  if (options.origins.count("--sign-command"))
    CheckSignCommand(options.Where("--sign-command"), options.signCommand);
  return options;
}

}  // namespace scrpack
