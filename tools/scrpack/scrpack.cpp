#include "scrpack/scrpack.h"

#include "scr_version.h"
#include "scrpack/build_command.h"
#include "scrpack/inspect_command.h"
#include "scrpack/uninstaller_command.h"

namespace scrpack {
namespace {

constexpr char kUsage[] =
    "usage: scrpack build --stub STUB --saver FILE.scr --title TEXT -o OUT [options]\n"
    "       scrpack build --project FILE [options]\n"
    "       scrpack inspect [--json] FILE\n"
    "       scrpack verify [--json] FILE\n"
    "       scrpack uninstaller SETUP -o FILE\n"
    "       scrpack --version\n"
    "       scrpack COMMAND --help\n";

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    err << kUsage;
    return kExitUsage;
  }
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  const std::string& command = args[0];
  if (command == "build") return RunBuild(rest, out, err);
  if (command == "inspect") return RunInspect(rest, out, err);
  if (command == "verify") return RunVerify(rest, out, err);
  if (command == "uninstaller") return RunUninstaller(rest, out, err);
  if (command == "--version") {
    out << "scrpack " << kScrVersion << "\n";
    return kExitOk;
  }
  if (command == "--help" || command == "-h" || command == "help") {
    out << kUsage << "\n"
        << kBuildHelp << "\n"
        << kInspectHelp << "\n"
        << kVerifyHelp << "\n"
        << kUninstallerHelp;
    return kExitOk;
  }
  err << "scrpack: unknown command '" << command << "'\n" << kUsage;
  return kExitUsage;
}

}  // namespace scrpack
