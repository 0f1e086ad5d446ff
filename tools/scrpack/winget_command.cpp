#include "scrpack/winget_command.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <map>

#include "integration/uninstall_entry.h"
#include "package/errors.h"
#include "package/extension_block.h"
#include "package/package_reader.h"
#include "package/pe_image.h"
#include "scrpack/ansi_text.h"
#include "scrpack/build_options.h"
#include "scrpack/input_file.h"
#include "scrpack/nearest_name.h"
#include "scrpack/output_guard.h"
#include "scrpack/scrpack.h"
#include "scrpack/sha256.h"
#include "scrpack/stream_source.h"
#include "scrpack/temporary_files.h"
#include "scrpack/winget_manifest.h"

namespace scrpack {

const char kWingetHelp[] =
    "scrpack winget SETUP -o FOLDER --id PUBLISHER.NAME --url URL [options]\n"
    "  Writes the three files of a winget manifest (version, installer and en-US locale, manifest\n"
    "  version 1.10.0) for the finished setup file SETUP into FOLDER, named ID.yaml,\n"
    "  ID.installer.yaml and ID.locale.en-US.yaml. The version, the publisher, the title, the\n"
    "  architecture, the checksum and the uninstall entry come from SETUP, so build it with\n"
    "  --version, --publisher and --uninstall-entry, and sign it first.\n"
    "  --id PUBLISHER.NAME      the package identifier: 2 to 8 parts joined by dots\n"
    "  --url URL                where SETUP will be downloaded from (http:// or https://)\n"
    "  --license TEXT           the licence's name, such as MIT (default: Proprietary)\n"
    "  --description TEXT       one sentence (default: the title followed by 'screen saver')\n"
    "  --codepage NUMBER        the code page SETUP was built with (default: 1252)\n"
    "  FOLDER is made when it is missing; none of the three files may be SETUP itself.\n";

namespace {

namespace fs = std::filesystem;

constexpr char kDefaultLicense[] = "Proprietary";
constexpr std::size_t kMaxUrlLength = 2048;
constexpr std::size_t kMinText = 3, kMaxLicense = 512, kMaxDescription = 256;
constexpr std::size_t kMinName = 2;
constexpr std::size_t kHashChunk = 1 << 20;

const std::vector<std::string> kValueOptions = {"-o",        "--output",      "--id",      "--url",
                                                "--license", "--description", "--codepage"};

struct WingetCommand {
  std::string setup;
  std::map<std::string, std::string> values;  // by option; -o is stored as --output
  std::string Value(const std::string& option) const {
    const auto found = values.find(option);
    return found == values.end() ? std::string() : found->second;
  }
};

// Takes "--id X" and "--id=X"; throws UsageError for an unknown option, a missing value or a
// second SETUP.
WingetCommand ParseWinget(const std::vector<std::string>& args) {
  std::vector<std::string> known = kValueOptions;
  known.insert(known.end(), {"--help", "-h"});
  WingetCommand command;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string option = args[i], value;
    const std::size_t equals = option.find('=');
    const bool joined = option.rfind("--", 0) == 0 && equals != std::string::npos;
    if (joined) value = option.substr(equals + 1), option.resize(equals);
    const std::string unknown = UnknownOption(option, known);
    if (!unknown.empty()) throw UsageError(unknown);
    if (option.empty() || option[0] != '-') {
      if (!command.setup.empty()) throw UsageError("expects one setup file, not '" + option + "'");
      command.setup = option;
      continue;
    }
    if (!joined && i + 1 >= args.size()) throw UsageError(option + " needs a value");
    command.values[option == "-o" ? "--output" : option] = joined ? value : args[++i];
  }
  if (command.setup.empty()) throw UsageError("expects a setup file");
  for (const char* required : {"--output", "--id", "--url"})
    if (command.Value(required).empty()) throw UsageError(std::string(required) + " is required");
  return command;
}

void RequireLength(const std::string& where, const std::string& text, std::size_t least,
                   std::size_t most) {
  if (text.size() < least || text.size() > most)
    throw UsageError(where + " '" + text + "' has " + std::to_string(text.size()) +
                     " bytes; winget takes " + std::to_string(least) + " to " +
                     std::to_string(most));
}

// The options' own values, checked as the schema checks them, before SETUP is read.
void CheckOptions(const WingetCommand& command) {
  const std::string id = command.Value("--id");
  const std::string why = WhyNotAPackageIdentifier(id);
  if (!why.empty()) throw UsageError("--id '" + id + "' " + why);
  const std::string url = command.Value("--url");
  if (!integration::IsWebAddress(url) || url.size() > kMaxUrlLength)
    throw UsageError("--url '" + url + "' is no http:// or https:// address of at most " +
                     std::to_string(kMaxUrlLength) + " bytes");
  if (command.values.count("--license"))
    RequireLength("--license", command.Value("--license"), kMinText, kMaxLicense);
  if (command.values.count("--description"))
    RequireLength("--description", command.Value("--description"), kMinText, kMaxDescription);
}

// The setup file as the package reads it, with the block its record announces.
struct SetupFacts {
  package::SettingsRecord record;
  package::ExtensionBlock block;
  uint16_t machine = 0;
};

SetupFacts ReadSetupFacts(const std::string& path) {
  StreamSource source(path);
  if (!source.IsOpen() || source.Size() < 0)
    throw std::runtime_error(Quoted(path) + ": cannot read it: " + WhyUnreadable(path));
  SetupFacts facts;
  try {
    const package::PackageInfo info = package::ReadPackage(source);
    if (info.kind != package::PackageKind::kSetup)
      throw UsageError(Quoted(path) + " is an uninstaller, not a setup file");
    facts.record = info.record;
    facts.block =
        package::RequireExtension(source, info.packageEnd, info.record.HasExtensionBlock());
  } catch (const package::CorruptedPackage& e) {
    throw std::runtime_error(Quoted(path) + ": " + e.what());
  }
  uint8_t header[package::kPeHeaderProbe];
  uint32_t delivered = 0;
  package::PeKind kind;
  const auto wanted = uint32_t(std::min<int64_t>(source.Size(), sizeof header));
  if (source.ReadAt(0, header, wanted, delivered) && ReadPeKind(header, delivered, kind))
    facts.machine = kind.machine;
  return facts;
}

std::string FileSha256(const std::string& path) {
  std::ifstream in(fs::u8path(path), std::ios::binary);
  Sha256 hash;
  std::string chunk(kHashChunk, '\0');
  while (in) {
    in.read(&chunk[0], std::streamsize(chunk.size()));
    hash.Update(chunk.data(), std::size_t(in.gcount()));
  }
  if (!in.eof()) throw std::runtime_error(Quoted(path) + ": cannot read it: " + LastReason());
  return UpperHex(hash.Finish());
}

std::string Architecture(uint16_t machine, const std::string& path) {
  if (machine == package::kMachineI386) return "x86";
  if (machine == package::kMachineAmd64) return "x64";
  throw UsageError(Quoted(path) + " is a program for machine type " + std::to_string(machine) +
                   ", which winget has no architecture for");
}

// A text of SETUP as UTF-8; refused when winget would not take it.
std::string Required(const std::string& ansi, const CodePage& page, std::size_t least,
                     const std::string& what) {
  const std::string text = AnsiToUtf8(ansi, page);
  if (text.size() < least)
    throw UsageError("the setup file's " + what +
                     (text.empty() ? " is missing"
                                   : " '" + text + "' is shorter than " + std::to_string(least) +
                                         " characters") +
                     ", and winget needs one");
  return text;
}

// The package's version as winget takes it: no \ / : * ? " < > | nor control character.
std::string CheckedVersion(const std::string& version) {
  for (char c : version)
    if (static_cast<unsigned char>(c) < 0x20 ||
        std::string("\\/:*?\"<>|").find(c) != std::string::npos)
      throw UsageError("the setup file's version '" + version +
                       "' holds a character winget refuses in versions (\\ / : * ? \" < > | or a"
                       " control character)");
  return version;
}

WingetPackage PackageOf(const WingetCommand& command, const SetupFacts& facts,
                        const CodePage& page) {
  const package::SettingsRecord& record = facts.record;
  WingetPackage package;
  package.identifier = command.Value("--id");
  package.version =
      CheckedVersion(Required(facts.block.version, page, 1, "version (build it with --version)"));
  package.publisher =
      Required(facts.block.publisher, page, kMinName, "publisher (build it with --publisher)");
  package.name = Required(record.Title(), page, kMinName, "title");
  package.license =
      command.values.count("--license") ? command.Value("--license") : kDefaultLicense;
  package.description = command.values.count("--description") ? command.Value("--description")
                                                              : package.name + " screen saver";
  if (integration::IsWebAddress(record.LinkText()))
    package.packageUrl = AnsiToUtf8(record.LinkText(), page);
  package.installerUrl = command.Value("--url");
  package.architecture = Architecture(facts.machine, command.setup);
  package.sha256 = FileSha256(command.setup);
  const std::string keyName = integration::UninstallKeyName(record.Title());
  // winget finds an installed package among the entries directly below the Uninstall key.
  if (record.AddUninstallEntry() && !keyName.empty() && keyName.find('\\') == std::string::npos) {
    package.productCode = AnsiToUtf8(keyName, page);
    package.displayName = AnsiToUtf8(record.Title(), page);
    package.displayPublisher = AnsiToUtf8(facts.block.publisher, page);
    package.displayVersion = AnsiToUtf8(facts.block.version, page);
  }
  return package;
}

// Each file beside its final name first; all three are put in place once all three are written.
void WriteFiles(const std::string& folder, const std::vector<ManifestFile>& files) {
  std::error_code made;
  fs::create_directories(fs::u8path(folder), made);
  if (made)
    throw std::runtime_error("-o " + Quoted(folder) + ": cannot make it: " + made.message());
  std::vector<std::string> temporaries;
  for (const ManifestFile& file : files)
    temporaries.push_back((fs::u8path(folder) / fs::u8path(file.name + ".tmp")).u8string());
  TemporaryFiles scratch(temporaries);
  for (std::size_t i = 0; i < files.size(); ++i) {
    errno = 0;
    std::ofstream out(fs::u8path(temporaries[i]), std::ios::binary | std::ios::trunc);
    out << files[i].text;
    out.close();
    if (!out)
      throw std::runtime_error(Quoted(temporaries[i]) + ": cannot write it: " + LastReason());
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    const std::string path = (fs::u8path(folder) / fs::u8path(files[i].name)).u8string();
    scratch.MoveInPlace(temporaries[i], path, Quoted(path));
  }
}

// The three files' paths in FOLDER and those they are written to first.
void RefuseToWriteOverTheSetupFile(const WingetCommand& command,
                                   const std::vector<ManifestFile>& files) {
  const NamedInput setup{command.setup, "the setup file " + Quoted(command.setup)};
  for (const ManifestFile& file : files) {
    const fs::path path = fs::u8path(command.Value("--output")) / fs::u8path(file.name);
    RefuseToWriteOverAnInput({setup}, path.u8string(), "-o " + Quoted(path.u8string()),
                             {path.u8string() + ".tmp"});
  }
}

int Winget(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const WingetCommand command = ParseWinget(args);
  CheckOptions(command);
  const CodePage page = CodePageOption(command.Value("--codepage"), "--codepage");
  // Named by the id alone, so they can be checked before anything is read.
  WingetPackage named;
  named.identifier = command.Value("--id");
  RefuseToWriteOverTheSetupFile(command, WingetManifest(named));
  const WingetPackage package = PackageOf(command, ReadSetupFacts(command.setup), page);
  if (package.productCode.empty())
    err << "scrpack winget: note: " << Quoted(command.setup)
        << " adds no uninstall entry of its own (build it with --uninstall-entry and a title"
           " without a backslash), so winget cannot tell that it is installed\n";
  const std::vector<ManifestFile> files = WingetManifest(package);
  WriteFiles(command.Value("--output"), files);
  out << "scrpack winget: wrote";
  for (const ManifestFile& file : files)
    out << " " << (fs::u8path(command.Value("--output")) / fs::u8path(file.name)).u8string();
  out << " (" << package.identifier << " " << package.version << ", " << package.architecture
      << ")\n";
  return kExitOk;
}

}  // namespace

int RunWinget(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    out << kWingetHelp;
    return kExitOk;
  }
  return RunReporting("winget", err, [&] { return Winget(args, out, err); });
}

}  // namespace scrpack
