#include "scrpack/build_command.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "package/package_writer.h"
#include "scrpack/scrpack.h"

namespace scrpack {

const char kBuildHelp[] =
    "scrpack build --stub STUB --saver FILE.scr --title TEXT -o OUT [options]\n"
    "  Appends a package (the screen saver, optional texts, the settings) to the stub.\n"
    "  --stub FILE              the setup program the package is appended to\n"
    "  --saver FILE             the screen saver (.scr) to install\n"
    "  --title TEXT             its display name, at most 32 bytes\n"
    "  -o, --output FILE        the setup file to write\n"
    "  --file-name NAME         file name it is installed as, at most 255 bytes\n"
    "                           (default: the saver's own file name)\n"
    "  --readme FILE            readme text, shown after installing and installed beside it\n"
    "  --license FILE           licence text the user must accept\n"
    "  --language FILE          translation of the setup program's texts\n"
    "  --link TEXT              web address shown at the bottom of the wizard, at most 102 bytes\n"
    "  --default-folder TEXT    destination offered, at most 250 bytes; may use <Windows> and\n"
    "                           <Program Files> (default: <Program Files>)\n"
    "  --default-subfolder TEXT subfolder of it, at most 250 bytes (default: the title)\n"
    "  --uninstall-entry        add an entry to the list of removable programs\n"
    "  --start-menu             create a Start-menu group\n"
    "  --desktop-shortcut       create a desktop shortcut\n"
    "  --skip-folder-page       do not ask for the destination folder\n";

namespace {

constexpr std::size_t kTitleLimit = 32;
constexpr std::size_t kLinkLimit = 102;
constexpr std::size_t kFileNameLimit = 255;  // one byte of the field is left for the NUL
constexpr std::size_t kCopyChunk = 1 << 20;
constexpr int64_t kTextLimit = 0x7FFFFFFF;

void RequireFits(const std::string& value, std::size_t limit, const char* option) {
  if (value.size() > limit)
    throw UsageError(std::string(option) + " is " + std::to_string(value.size()) + " bytes long; at most " +
                     std::to_string(limit) + " fit");
}

// A file that is about to be copied: open, readable, its size known.
struct Input {
  std::string option;
  std::string path;
  std::ifstream stream;
  int64_t size = 0;
};

std::unique_ptr<Input> OpenInput(const std::string& option, const std::string& path) {
  auto input = std::make_unique<Input>();
  input->option = option;
  input->path = path;
  std::error_code error;
  if (std::filesystem::is_directory(path, error))
    throw UsageError(option + ": '" + path + "' is a folder, not a file");
  input->stream.open(path, std::ios::binary);
  if (!input->stream) throw UsageError(option + ": cannot read '" + path + "'");
  input->stream.seekg(0, std::ios::end);
  const auto end = input->stream.tellg();
  input->stream.seekg(0, std::ios::beg);
  if (end < 0 || !input->stream) throw UsageError(option + ": cannot read '" + path + "'");
  input->size = static_cast<int64_t>(end);
  return input;
}

std::unique_ptr<Input> OpenText(const std::string& option, const std::string& path) {
  if (path.empty()) return nullptr;
  auto input = OpenInput(option, path);
  if (input->size > kTextLimit)
    throw UsageError(option + ": '" + path + "' is " + std::to_string(input->size) +
                     " bytes long; at most 2147483647 bytes (2 GB) fit");
  return input;
}

int64_t SizeOf(const std::unique_ptr<Input>& input) { return input ? input->size : 0; }

void Copy(Input& input, std::ofstream& out, std::vector<char>& buffer) {
  for (int64_t left = input.size; left > 0;) {
    const auto piece = static_cast<std::streamsize>(left < int64_t(buffer.size()) ? left : int64_t(buffer.size()));
    input.stream.read(buffer.data(), piece);
    if (input.stream.gcount() != piece)
      throw std::runtime_error(input.option + ": '" + input.path + "' could not be read to its end");
    out.write(buffer.data(), piece);
    if (!out) throw std::runtime_error("the output file could not be written");
    left -= piece;
  }
}

struct Inputs {
  std::unique_ptr<Input> stub, saver, readme, license, language;
};

Inputs OpenInputs(const BuildOptions& options) {
  Inputs inputs;
  inputs.stub = OpenInput("--stub", options.stub);
  if (inputs.stub->size == 0) throw UsageError("--stub: '" + options.stub + "' is empty");
  inputs.saver = OpenInput("--saver", options.saver);
  inputs.readme = OpenText("--readme", options.readme);
  inputs.license = OpenText("--license", options.license);
  inputs.language = OpenText("--language", options.language);
  return inputs;
}

void WriteSetupFile(Inputs& inputs, const package::SettingsRecord& record, const std::string& path) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) throw std::runtime_error("cannot create '" + path + "'");
  std::vector<char> buffer(kCopyChunk);
  for (Input* input : {inputs.stub.get(), inputs.saver.get(), inputs.readme.get(), inputs.license.get(),
                       inputs.language.get()}) {
    if (input) Copy(*input, out, buffer);
  }
  out.write(reinterpret_cast<const char*>(record.Raw().data()), package::kRecordSize);
  out.write(package::kSetupSignature, package::kSignatureSize);
  out.close();
  if (!out) throw std::runtime_error("the output file '" + path + "' could not be written");
}

void Build(const BuildOptions& options) {
  package::SettingsRecord record = RecordFromOptions(options);
  Inputs inputs = OpenInputs(options);
  const int64_t texts = SizeOf(inputs.readme) + SizeOf(inputs.license) + SizeOf(inputs.language);
  if (inputs.saver->size > package::MaxImageLength(texts))
    throw UsageError("--saver: '" + options.saver + "' is " + std::to_string(inputs.saver->size) +
                     " bytes long; with the texts, at most " + std::to_string(package::MaxImageLength(texts)) +
                     " bytes fit");
  package::FillPackageFields(record, inputs.saver->size, SizeOf(inputs.readme), SizeOf(inputs.license),
                             SizeOf(inputs.language));
  const std::string temporary = options.output + ".tmp";
  try {
    WriteSetupFile(inputs, record, temporary);
    std::filesystem::rename(temporary, options.output);
  } catch (...) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    throw;
  }
}

}  // namespace

package::SettingsRecord RecordFromOptions(const BuildOptions& options) {
  const std::string fileName =
      options.fileName ? *options.fileName : std::filesystem::path(options.saver).filename().string();
  const std::string folder = options.defaultFolder ? *options.defaultFolder : "<Program Files>";
  const std::string subfolder = options.defaultSubfolder ? *options.defaultSubfolder : options.title;
  RequireFits(options.title, kTitleLimit, "--title");
  RequireFits(options.link, kLinkLimit, "--link");
  RequireFits(fileName, kFileNameLimit, "--file-name");
  if (fileName.empty()) throw UsageError("--file-name must not be empty");
  RequireFits(folder, package::kMaxFolderLength, "--default-folder");
  RequireFits(subfolder, package::kMaxFolderLength, "--default-subfolder");
  package::SettingsRecord record;
  record.SetScreensaverFileName(fileName);
  record.SetTitle(options.title);
  record.SetLinkText(options.link);
  record.SetAddUninstallEntry(options.uninstallEntry);
  record.SetAddStartMenuGroup(options.startMenu);
  record.SetAddDesktopShortcut(options.desktopShortcut);
  record.SetDefaultFolder(folder);
  record.SetDefaultSubfolder(subfolder);
  record.SetSkipFolderPage(options.skipFolderPage);
  return record;
}

int RunBuild(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  try {
    const BuildOptions options = ParseBuildOptions(args);
    if (options.help) {
      out << kBuildHelp;
      return kExitOk;
    }
    Build(options);
    return kExitOk;
  } catch (const UsageError& e) {
    err << "scrpack build: " << e.what() << "\n";
    return kExitUsage;
  } catch (const std::exception& e) {
    err << "scrpack build: " << e.what() << "\n";
    return kExitFailed;
  }
}

}  // namespace scrpack
