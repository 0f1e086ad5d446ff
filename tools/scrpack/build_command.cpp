#include "scrpack/build_command.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#else
#include <unistd.h>
#endif

#include "package/package_writer.h"
#include "package/pe_image.h"
#include "package/settings_record.h"
#include "scrpack/ansi_text.h"
#include "scrpack/build_options.h"
#include "scrpack/input_checks.h"
#include "scrpack/input_file.h"
#include "scrpack/output_guard.h"
#include "scrpack/record_options.h"
#include "scrpack/scrpack.h"
#include "scrpack/setup_writer.h"

namespace scrpack {

namespace {

std::string AtMost(std::size_t limit) { return "at most " + std::to_string(limit) + " bytes"; }

}  // namespace

std::string BuildHelp() {
  const std::string windows = package::kWindowsPlaceholder;
  const std::string programFiles = package::kProgramFilesPlaceholder;
  return "scrpack build --stub STUB --saver FILE.scr --title TEXT -o OUT [options]\n"
         "scrpack build --project FILE [options]\n"
         "  Appends a package (the screen saver, optional texts, the settings) to the stub.\n"
         "  --project FILE           read the settings below from FILE ('key = value' lines, the "
         "keys\n"
         "                           being the option names without --); options given here win\n"
         "  --stub FILE              the setup program the package is appended to\n"
         "  --saver FILE             the screen saver (.scr) to install\n"
         "  --title TEXT             its display name, " +
         AtMost(kTitleLimit) +
         "\n"
         "  -o, --output FILE        the setup file to write; never one of the input files\n"
         "  --file-name NAME         file name it is installed as, " +
         AtMost(kFileNameLimit) +
         "\n"
         "                           (default: the saver's own file name)\n"
         "  --readme FILE            readme text, shown after installing and installed beside it\n"
         "  --license FILE           licence text the user must accept\n"
         "  --language FILE          translation of the setup program's texts\n"
         "  --link TEXT              web address shown at the bottom of the wizard, " +
         AtMost(kLinkLimit) +
         "\n"
         "  --default-folder TEXT    destination offered, " +
         AtMost(kFolderLimit) + "; may use " + windows +
         " and\n"
         "                           " +
         programFiles + " (default: " + programFiles +
         ")\n"
         "  --default-subfolder TEXT subfolder of it, " +
         AtMost(kFolderLimit) +
         " (default: the title)\n"
         "  --uninstall-entry        add an entry to the list of removable programs\n"
         "  --start-menu             create a Start-menu group\n"
         "  --desktop-shortcut       create a desktop shortcut\n"
         "  --skip-folder-page       do not ask for the destination folder\n"
         "  --no-shell-install       do not open the Screen Saver settings after installing (the\n"
         "                           saver is then not made the current one)\n"
         "  --publisher TEXT         publisher shown in the list of removable programs,\n"
         "                           " +
         AtMost(kMetadataLimit) +
         "\n"
         "  --version TEXT           version shown there, " +
         AtMost(kMetadataLimit) +
         "\n"
         "  --sign-command COMMAND   signs the uninstaller and then the setup file: a command "
         "line\n"
         "                           holding {in} (the file to sign) and {out} (where the signed "
         "copy\n"
         "                           goes), which scrpack fills in quoted and runs by the shell; "
         "the\n"
         "                           signed uninstaller is carried in the setup file, which "
         "installs it\n"
         "  --uninstaller-signature FILE  an uninstaller signed earlier (from 'scrpack "
         "uninstaller'),\n"
         "                           carried in the setup file when it was signed for these very "
         "bytes\n"
         "  --strict                 refuse to build when there is a warning (for CI)\n"
         "  --no-compress            store the screen saver as it is; by default it is compressed\n"
         "                           with LZMA, which the setup program undoes as it installs\n"
         "  --codepage NUMBER        the users' Windows ANSI code page (default: 1252); UTF-8 "
         "texts and\n"
         "                           values are converted to it, and the limits count its bytes\n"
         "  Every flag also takes --no-NAME, which wins over a project file's 'NAME = yes', and\n"
         "  every option --NAME=VALUE. Relative paths given here start at the current folder, "
         "those\n"
         "  in a project file at the project file's folder.\n";
}

namespace {

namespace fs = std::filesystem;

// A text file in the code page; empty when the option is not given.
std::string ReadText(const BuildOptions& options, const std::string& option,
                     const std::string& path, const CodePage& page) {
  if (path.empty()) return "";
  const std::string where = options.Where(option);
  return TextToAnsi(ReadInputFile(where, path), page, where + " " + Quoted(path));
}

// The output and what is written beside it before it is complete: none may be an input.
void RefuseToOverwriteAnInput(const BuildOptions& options) {
  std::vector<NamedInput> inputs;
  for (const NamedPath& input : InputPaths(options))
    inputs.push_back({input.path, options.Where(input.option) + " " + Quoted(input.path)});
  RefuseToWriteOverAnInput(inputs, options.output, OutputName(options), ScratchFiles(options));
}

// Under --strict the warnings refuse the build; they have been shown already.
void RefuseWhenStrict(const BuildOptions& options, const std::string& warnings) {
  if (!options.strict || warnings.empty()) return;
  const auto count = std::count(warnings.begin(), warnings.end(), '\n');
  throw UsageError(
      options.Where("--strict") + ": " + OutputName(options) + " not written because of the " +
      (count == 1 ? std::string("warning") : std::to_string(count) + " warnings") + " above");
}

// On a terminal, one line that the coding rewrites in place: how far, how much, how long still.
// Elsewhere (a log, a pipe, the tests) nothing.
class ProgressLine {
 public:
  explicit ProgressLine(std::ostream& err)
      : err_(err),
        shown_(&err == &std::cerr && isatty(2)),
        start_(std::chrono::steady_clock::now()) {}
  ~ProgressLine() {
    if (shown_ && width_ > 0) err_ << "\r" << std::string(width_, ' ') << "\r" << std::flush;
  }
  void operator()(int64_t done, int64_t total) {
    if (!shown_ || total <= 0) return;
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    char line[160];
    int length = std::snprintf(
        line, sizeof line, "scrpack build: compressing the screen saver: %3d%% (%.1f of %.1f MB)",
        int(100 * done / total), done / 1048576.0, total / 1048576.0);
    if (done > 0 && done < total && seconds >= 1) {
      const int left = int(seconds * double(total - done) / double(done) + 0.5);
      length += std::snprintf(line + length, sizeof line - length, ", %d:%02d left", left / 60,
                              left % 60);
    }
    const std::string text(line, static_cast<std::size_t>(length));
    err_ << "\r" << text;
    if (int(text.size()) < width_) err_ << std::string(width_ - int(text.size()), ' ');
    err_ << std::flush;
    width_ = std::max(width_, int(text.size()));
  }

 private:
  std::ostream& err_;
  bool shown_;
  std::chrono::steady_clock::time_point start_;
  int width_ = 0;
};

struct Built {
  int64_t size = 0;
  ImageSizes image;
};

// Warnings are held back until every check has passed, so a refusal comes alone; what the setup
// will make of the input goes to `out` once the file is written.
Built Build(const BuildOptions& options, std::ostream& out, std::ostream& err) {
  RefuseToOverwriteAnInput(options);
  std::ostringstream notes, warnings;
  const CodePage page = CodePageOption(options.codepage, options.Where("--codepage"));
  package::SettingsRecord record = RecordFromOptions(options, page, notes, warnings);
  const package::ExtensionBlock block = BlockFromOptions(options, page);

  const std::string stubWhere = options.Where("--stub");
  const std::string stub = ReadInputFile(stubWhere, options.stub);
  if (stub.empty()) throw UsageError(stubWhere + ": " + Quoted(options.stub) + " is empty");
  const uint16_t stubMachine = CheckStub(stubWhere, options.stub, stub);

  InputFile saver = OpenInputFile(options.Where("--saver"), options.saver);
  const auto headSize = static_cast<std::size_t>(saver.size < int64_t(package::kPeHeaderProbe)
                                                     ? saver.size
                                                     : int64_t(package::kPeHeaderProbe));
  const std::string saverHead = ReadChunk(saver, headSize);
  WarnAboutBitness(CheckSaver(saver.where, options.saver, saverHead, saver.size), stubMachine,
                   warnings);
  NoteAboutSystemFolder(record, stubMachine, notes);

  Texts texts;
  texts.readme = ReadText(options, "--readme", options.readme, page);
  texts.license = ReadText(options, "--license", options.license, page);
  texts.language = ReadText(options, "--language", options.language, page);
  if (!options.language.empty())
    WarnAboutLanguage(options.Where("--language") + " " + Quoted(options.language), texts.language,
                      page, notes, warnings);
  // It is compared with the uninstaller only once the setup file is written; one that cannot be
  // read is refused before that, as the other inputs are.
  if (!options.uninstallerSignature.empty())
    OpenInputFile(options.Where("--uninstaller-signature"), options.uninstallerSignature);

  const int64_t limit = package::MaxImageLength(texts.Size());
  if (saver.size > limit)
    throw UsageError(saver.where + ": " + Quoted(options.saver) + " is " +
                     std::to_string(saver.size) + " bytes long; with the texts, at most " +
                     std::to_string(limit) + " bytes fit");
  package::FillPackageFields(record, saver.size, int64_t(texts.readme.size()),
                             int64_t(texts.license.size()), int64_t(texts.language.size()));
  // Every setup file written here carries the block, and its record says so, before the block's
  // checksum of the record and the signed uninstaller's are taken.
  record.SetHasExtensionBlock(true);
  err << warnings.str();
  RefuseWhenStrict(options, warnings.str());

  Built built;
  {
    ProgressLine progress(err);
    WriteOutput(
        options, stub, saverHead, saver, texts, record, block,
        [&progress](int64_t done, int64_t total) { progress(done, total); }, built.image);
  }
  out << notes.str();
  std::error_code ignored;
  built.size = int64_t(fs::file_size(fs::u8path(options.output), ignored));
  return built;
}

// "(219564 bytes; the screen saver's 230912 bytes compressed to 80349, 34.8%)"
std::string SizesShown(const Built& built) {
  std::string shown = std::to_string(built.size) + " bytes";
  if (built.image.compressed) {
    char ratio[32];
    std::snprintf(ratio, sizeof ratio, "%.1f%%",
                  built.image.installed > 0
                      ? 100.0 * double(built.image.stored) / double(built.image.installed)
                      : 100.0);
    shown += "; the screen saver's " + std::to_string(built.image.installed) +
             " bytes compressed to " + std::to_string(built.image.stored) + ", " + ratio;
  }
  return "(" + shown + ")";
}

}  // namespace

int RunBuild(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  return RunReporting("build", err, [&] {
    const BuildOptions options = ParseBuildOptions(args);
    if (options.help) {
      out << BuildHelp();
      return kExitOk;
    }
    const Built built = Build(options, out, err);
    out << "scrpack build: wrote " << options.output << " " << SizesShown(built) << "\n";
    return kExitOk;
  });
}

}  // namespace scrpack
