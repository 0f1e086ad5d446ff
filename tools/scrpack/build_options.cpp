#include "scrpack/build_options.h"

#include <map>

namespace scrpack {
namespace {

using TextOption = std::string BuildOptions::*;
using OptionalOption = std::optional<std::string> BuildOptions::*;
using FlagOption = bool BuildOptions::*;

// Options whose absence means "use the default" and whose empty value means "empty".
const std::map<std::string, OptionalOption>& OptionalOptions() {
  static const std::map<std::string, OptionalOption> options = {
      {"--file-name", &BuildOptions::fileName},
      {"--default-folder", &BuildOptions::defaultFolder},
      {"--default-subfolder", &BuildOptions::defaultSubfolder},
  };
  return options;
}

const std::map<std::string, TextOption>& TextOptions() {
  static const std::map<std::string, TextOption> options = {
      {"--stub", &BuildOptions::stub},
      {"--saver", &BuildOptions::saver},
      {"--title", &BuildOptions::title},
      {"-o", &BuildOptions::output},
      {"--output", &BuildOptions::output},
      {"--readme", &BuildOptions::readme},
      {"--license", &BuildOptions::license},
      {"--language", &BuildOptions::language},
      {"--link", &BuildOptions::link},
  };
  return options;
}

const std::map<std::string, FlagOption>& FlagOptions() {
  static const std::map<std::string, FlagOption> options = {
      {"--uninstall-entry", &BuildOptions::uninstallEntry},
      {"--start-menu", &BuildOptions::startMenu},
      {"--desktop-shortcut", &BuildOptions::desktopShortcut},
      {"--skip-folder-page", &BuildOptions::skipFolderPage},
      {"--help", &BuildOptions::help},
      {"-h", &BuildOptions::help},
  };
  return options;
}

void RequireGiven(const std::string& value, const char* option) {
  if (value.empty()) throw UsageError(std::string(option) + " is required");
}

}  // namespace

BuildOptions ParseBuildOptions(const std::vector<std::string>& args) {
  BuildOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& name = args[i];
    if (auto flag = FlagOptions().find(name); flag != FlagOptions().end()) {
      options.*(flag->second) = true;
      continue;
    }
    const auto text = TextOptions().find(name);
    const auto optional = OptionalOptions().find(name);
    if (text == TextOptions().end() && optional == OptionalOptions().end())
      throw UsageError("unknown option '" + name + "'");
    if (i + 1 >= args.size()) throw UsageError(name + " needs a value");
    const std::string& value = args[++i];
    if (text != TextOptions().end()) options.*(text->second) = value;
    else options.*(optional->second) = value;
  }
  if (options.help) return options;
  RequireGiven(options.stub, "--stub");
  RequireGiven(options.saver, "--saver");
  RequireGiven(options.title, "--title");
  RequireGiven(options.output, "-o");
  return options;
}

}  // namespace scrpack
