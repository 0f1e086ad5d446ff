#include "scrpack/uninstaller_command.h"

#include <cerrno>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>

#include "integration/saver_file_name.h"
#include "package/errors.h"
#include "package/extension_block.h"
#include "package/package_reader.h"
#include "package/uninstaller_writer.h"
#include "scrpack/host_file.h"
#include "scrpack/input_file.h"
#include "scrpack/nearest_name.h"
#include "scrpack/output_guard.h"
#include "scrpack/scrpack.h"
#include "scrpack/temporary_files.h"

namespace scrpack {

const char kUninstallerHelp[] =
    "scrpack uninstaller SETUP -o FILE\n"
    "  Writes the uninstaller that the setup file SETUP installs (on Windows 2000 and later,\n"
    "  where setup shortens the screen saver's file name), signed when SETUP carries a signature\n"
    "  made for it. FILE is never SETUP.\n";

namespace {

namespace fs = std::filesystem;

struct UninstallerCommand {
  std::string setup;
  std::string output;
  std::string outputOption;  // "-o" or "--output", as given
};

const std::vector<std::string> kOptions = {"-o", "--output", "--help", "-h"};

// Nothing when the arguments cannot be used; `unknown` then says so for an unknown option.
std::optional<UninstallerCommand> ParseUninstallerCommand(const std::vector<std::string>& args,
                                                          std::string& unknown) {
  UninstallerCommand command;
  for (std::size_t i = 0; i < args.size(); ++i) {
    unknown = UnknownOption(args[i], kOptions);
    if (!unknown.empty()) return std::nullopt;
    if ((args[i] == "-o" || args[i] == "--output") && i + 1 < args.size() &&
        command.output.empty()) {
      command.outputOption = args[i];
      command.output = args[++i];
    } else if (command.setup.empty() && !args[i].empty() && args[i][0] != '-') {
      command.setup = args[i];
    } else {
      return std::nullopt;
    }
  }
  if (command.setup.empty() || command.output.empty()) return std::nullopt;
  return command;
}

const char* Describe(CarriedSignature signature) {
  switch (signature) {
    case CarriedSignature::kWritten: return "signed with the signature the setup file carries";
    case CarriedSignature::kDoesNotFit:
      return "unsigned: the signature the setup file carries was made for another record";
    case CarriedSignature::kNone: break;
  }
  return "unsigned: the setup file carries no signature for it";
}

}  // namespace

WrittenUninstaller WriteUninstallerOf(const std::string& setupPath, const std::string& name,
                                      const std::string& outPath, const std::string& outName,
                                      bool withCarriedSignature) {
  const auto source = HostFile::OpenForReading(setupPath);
  if (!source) throw std::runtime_error(name + ": cannot read it: " + WhyUnreadable(setupPath));
  package::FileReadSource reader(*source);
  package::PackageInfo info;
  std::optional<package::ExtensionBlock> block;
  try {
    info = package::ReadPackage(reader);
    // A finished setup file that lacks the block its record announces installs nothing; the
    // one being built gets its block only after its uninstaller is written.
    if (withCarriedSignature && info.kind == package::PackageKind::kSetup)
      block = package::RequireExtension(reader, info.packageEnd, info.record.HasExtensionBlock());
  } catch (const package::CorruptedPackage& e) {
    throw std::runtime_error(name + ": " + e.what());
  }
  if (info.kind != package::PackageKind::kSetup)
    throw std::runtime_error(name + " is an uninstaller, not a setup file");
  package::SettingsRecord record = info.record;
  integration::ShortenSaverFileName(record);

  WrittenUninstaller written;
  const package::UninstallerSignature* signature = nullptr;
  if (block && block->uninstallerSignature) {
    const bool fits = package::SignatureFits(*block->uninstallerSignature, record);
    written.signature = fits ? CarriedSignature::kWritten : CarriedSignature::kDoesNotFit;
    if (fits) signature = &*block->uninstallerSignature;
  }
  errno = 0;
  const auto out = HostFile::Create(outPath);
  if (!out) throw std::runtime_error(outName + ": cannot create it: " + LastReason());
  try {
    package::WriteUninstaller(*source, *out, info.packageEnd, record, signature);
  } catch (const package::Error& e) {
    throw std::runtime_error(outName + ": " + e.what());
  }
  written.size = out->Position();
  errno = 0;
  if (!out->Close()) throw std::runtime_error(outName + ": cannot write it: " + LastReason());
  return written;
}

int RunUninstaller(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    out << kUninstallerHelp;
    return kExitOk;
  }
  std::string unknown;
  const auto command = ParseUninstallerCommand(args, unknown);
  if (!command && !unknown.empty()) {
    err << "scrpack uninstaller: " << unknown << "\n";
    return kExitUsage;
  }
  if (!command) {
    err << "scrpack uninstaller: expects a setup file and -o FILE\n" << kUninstallerHelp;
    return kExitUsage;
  }
  return RunReporting("uninstaller", err, [&] {
    const std::string temporary = command->output + ".tmp";
    const std::string outName = command->outputOption + " " + Quoted(command->output);
    RefuseToWriteOverAnInput({{command->setup, "the setup file " + Quoted(command->setup)}},
                             command->output, outName, {temporary});
    TemporaryFiles temporaries({temporary});
    const WrittenUninstaller written =
        WriteUninstallerOf(command->setup, Quoted(command->setup), temporary, outName, true);
    temporaries.MoveInPlace(temporary, command->output, outName);
    out << "scrpack uninstaller: wrote " << command->output << " (" << written.size << " bytes, "
        << Describe(written.signature) << ")\n";
    return kExitOk;
  });
}

}  // namespace scrpack
