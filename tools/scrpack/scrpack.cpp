#include "scrpack/scrpack.h"

#include <algorithm>

#include "scr_version.h"
#include "scrpack/build_options.h"
#include "scrpack/build_command.h"
#include "scrpack/inspect_command.h"
#include "scrpack/nearest_name.h"
#include "scrpack/uninstaller_command.h"
#include "scrpack/winget_command.h"

namespace scrpack {
namespace {

constexpr char kUsage[] =
    "usage: scrpack build --stub STUB --saver FILE.scr --title TEXT -o OUT [options]\n"
    "       scrpack build --project FILE [options]\n"
    "       scrpack inspect [--json] FILE\n"
    "       scrpack verify [--json] FILE\n"
    "       scrpack uninstaller SETUP -o FILE\n"
    "       scrpack winget SETUP -o FOLDER --id PUBLISHER.NAME --url URL [options]\n"
    "       scrpack --version\n"
    "       scrpack COMMAND --help\n";

constexpr char kVersionCommand[] = "--version";
const std::vector<std::string> kHelpCommands = {"--help", "-h", "help"};

struct Command {
  const char* name;
  int (*run)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
};

const Command kCommands[] = {
    {"build", RunBuild},   {"inspect", RunInspect},
    {"verify", RunVerify}, {"uninstaller", RunUninstaller},
    {"winget", RunWinget},
};

// Every first argument scrpack takes, for "did you mean".
std::vector<std::string> CommandNames() {
  std::vector<std::string> names(kHelpCommands);
  names.emplace_back(kVersionCommand);
  for (const Command& command : kCommands) names.emplace_back(command.name);
  return names;
}

}  // namespace

int RunReporting(const char* name, std::ostream& err, const std::function<int()>& work) {
  try {
    return work();
  } catch (const UsageError& e) {
    err << "scrpack " << name << ": " << e.what() << "\n";
    return kExitUsage;
  } catch (const std::exception& e) {
    err << "scrpack " << name << ": " << e.what() << "\n";
    return kExitFailed;
  }
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    err << kUsage;
    return kExitUsage;
  }
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  const std::string& command = args[0];
  for (const Command& known : kCommands) {
    if (command == known.name) return known.run(rest, out, err);
  }
  if (command == kVersionCommand) {
    out << "scrpack " << kScrVersion << "\n";
    return kExitOk;
  }
  if (std::find(kHelpCommands.begin(), kHelpCommands.end(), command) != kHelpCommands.end()) {
    out << kUsage << "\n"
        << BuildHelp() << "\n"
        << kInspectHelp << "\n"
        << kVerifyHelp << "\n"
        << kUninstallerHelp << "\n"
        << kWingetHelp;
    return kExitOk;
  }
  err << "scrpack: unknown command '" << command << "'" << DidYouMean(command, CommandNames())
      << "\n"
      << kUsage;
  return kExitUsage;
}

}  // namespace scrpack
