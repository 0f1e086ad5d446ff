#include "scrpack/build_command.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#else
#include <unistd.h>
#endif

#include "package/checksum.h"
#include "package/errors.h"
#include "package/extension_block.h"
#include "package/package_checksums.h"
#include "package/package_end.h"
#include "package/package_writer.h"
#include "package/pe_image.h"
#include "package/settings_record.h"
#include "scrpack/ansi_text.h"
#include "scrpack/build_options.h"
#include "scrpack/file_identity.h"
#include "scrpack/image_coder.h"
#include "scrpack/input_checks.h"
#include "integration/saver_file_name.h"
#include "scrpack/input_file.h"
#include "scrpack/scrpack.h"
#include "scrpack/sign_command.h"
#include "scrpack/signed_copy.h"
#include "scrpack/temporary_files.h"
#include "scrpack/uninstaller_command.h"

namespace scrpack {

const char kBuildHelp[] =
    "scrpack build --stub STUB --saver FILE.scr --title TEXT -o OUT [options]\n"
    "scrpack build --project FILE [options]\n"
    "  Appends a package (the screen saver, optional texts, the settings) to the stub.\n"
    "  --project FILE           read the settings below from FILE ('key = value' lines, the keys\n"
    "                           being the option names without --); options given here win\n"
    "  --stub FILE              the setup program the package is appended to\n"
    "  --saver FILE             the screen saver (.scr) to install\n"
    "  --title TEXT             its display name, at most 32 bytes\n"
    "  -o, --output FILE        the setup file to write; never one of the input files\n"
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
    "  --skip-folder-page       do not ask for the destination folder\n"
    "  --no-shell-install       do not open the Screen Saver settings after installing (the\n"
    "                           saver is then not made the current one)\n"
    "  --publisher TEXT         publisher shown in the list of removable programs, at most 128\n"
    "                           bytes\n"
    "  --version TEXT           version shown there, at most 128 bytes\n"
    "  --sign-command COMMAND   signs the uninstaller and then the setup file: a command line\n"
    "                           holding {in} (the file to sign) and {out} (where the signed copy\n"
    "                           goes), which scrpack fills in quoted and runs by the shell; the\n"
    "                           signed uninstaller is carried in the setup file, which installs "
    "it\n"
    "  --uninstaller-signature FILE  an uninstaller signed earlier (from 'scrpack uninstaller'),\n"
    "                           carried in the setup file when it was signed for these very bytes\n"
    "  --strict                 refuse to build when there is a warning (for CI)\n"
    "  --no-compress            store the screen saver as it is; by default it is compressed\n"
    "                           with LZMA, which the setup program undoes as it installs\n"
    "  --codepage NUMBER        the users' Windows ANSI code page (default: 1252); UTF-8 texts "
    "and\n"
    "                           values are converted to it, and the limits count its bytes\n"
    "  Every flag also takes --no-NAME, which wins over a project file's 'NAME = yes', and\n"
    "  every option --NAME=VALUE. Relative paths given here start at the current folder, those\n"
    "  in a project file at the project file's folder.\n";

namespace {

namespace fs = std::filesystem;

constexpr int kDefaultCodePage = 1252;
constexpr std::size_t kCopyChunk = 1 << 20;
// The limits are the record's field widths; a NUL-terminated field keeps one byte for the NUL
// only where the setup program needs one (the file name is handed to the system as it stands).
constexpr std::size_t kTitleLimit = package::field::kTitle.width;
constexpr std::size_t kLinkLimit = package::field::kLinkText.width;
constexpr std::size_t kFileNameLimit = package::field::kScreensaverFileName.width - 1;
constexpr std::size_t kFolderLimit = package::kMaxFolderLength;
// Enough for any publisher's name or version string; the list of removable programs shows less.
constexpr std::size_t kMetadataLimit = 128;

void RequireFits(const std::string& value, std::size_t limit, const std::string& where) {
  if (value.size() > limit)
    throw UsageError(where + " is " + std::to_string(value.size()) + " bytes long; at most " +
                     std::to_string(limit) + " fit");
}

CodePage ChosenCodePage(const BuildOptions& options) {
  if (options.codepage.empty()) return *CodePage::Find(kDefaultCodePage);
  int number = 0;
  bool digits = options.codepage.size() <= 5;
  for (char c : options.codepage) {
    digits = digits && c >= '0' && c <= '9';
    number = number * 10 + (c - '0');
  }
  const auto page = digits ? CodePage::Find(number) : std::nullopt;
  if (!page)
    throw UsageError(options.Where("--codepage") + ": unknown code page '" + options.codepage +
                     "'; scrpack knows " + CodePage::KnownNumbers());
  return *page;
}

// One option's value in the code page.
std::string Ansi(const BuildOptions& options, const std::string& option, const std::string& value,
                 const CodePage& page) {
  return ValueToAnsi(value, page, options.Where(option));
}

// A text file in the code page; empty when the option is not given.
std::string ReadText(const BuildOptions& options, const std::string& option,
                     const std::string& path, const CodePage& page) {
  if (path.empty()) return "";
  const std::string where = options.Where(option);
  return TextToAnsi(ReadInputFile(where, path), page, where + " " + Quoted(path));
}

struct Texts {
  std::string readme, license, language;
  int64_t Size() const { return int64_t(readme.size() + license.size() + language.size()); }
};

// The output as its option names it, for messages: "-o 'Aurora.exe'".
std::string OutputName(const BuildOptions& options) {
  return options.Where("--output") + " " + Quoted(options.output);
}

// Writing the setup file; failures name the output as it was given, not the temporary file.
class OutputWriter {
 public:
  OutputWriter(const BuildOptions& options, const std::string& temporary)
      : name_(OutputName(options)) {
    errno = 0;
    out_.open(fs::u8path(temporary), std::ios::binary | std::ios::trunc);
    if (!out_) throw std::runtime_error(name_ + ": cannot create it: " + LastReason());
  }
  void Write(const std::string& bytes) {
    errno = 0;
    out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out_) throw std::runtime_error(name_ + ": cannot write it: " + LastReason());
  }
  // Makes what was written readable through another handle.
  void Flush() {
    errno = 0;
    out_.flush();
    if (!out_) throw std::runtime_error(name_ + ": cannot write it: " + LastReason());
  }
  void Close() {
    errno = 0;
    out_.close();
    if (!out_) throw std::runtime_error(name_ + ": cannot write it: " + LastReason());
  }

 private:
  std::string name_;
  std::ofstream out_;
};

// How the image went into the setup file, for the closing line.
struct ImageSizes {
  int64_t installed = 0;
  int64_t stored = 0;
  bool compressed = false;
};

// The stub is copied as it is, the saver as it is or coded (image_coder.h); everything behind
// them comes from the package writer, so scrpack and the tests write the same bytes. Fills the
// record's sizes once the image's stored length is known, and returns the package's checksums,
// the image's taken of the bytes as installed.
package::PackageChecksums WriteSetupFile(const std::string& stub, const std::string& saverHead,
                                         InputFile& saver, const Texts& texts,
                                         package::SettingsRecord& record, OutputWriter& out,
                                         bool compress, const CodingProgress& progress,
                                         ImageSizes& sizes) {
  package::PackageChecksums sums;
  out.Write(stub);
  sizes.installed = saver.size;
  sizes.compressed = compress;
  if (compress) {
    std::string head = saverHead;  // read already, for the checks
    const auto read = [&head, &saver](std::size_t count) {
      std::string bytes = head.substr(0, count);
      head.erase(0, bytes.size());
      if (bytes.size() < count) bytes += ReadChunk(saver, count - bytes.size());
      return bytes;
    };
    const CodedImageResult coded = CodeImage(
        saver.size, read, [&out](const std::string& bytes) { out.Write(bytes); }, progress);
    sums.image = coded.installedChecksum;
    sizes.stored = coded.storedLength;
  } else {
    out.Write(saverHead);
    sums.image = package::Crc32c(0, saverHead.data(), saverHead.size());
    for (int64_t left = saver.size - int64_t(saverHead.size()); left > 0;) {
      const auto piece =
          static_cast<std::size_t>(left < int64_t(kCopyChunk) ? left : int64_t(kCopyChunk));
      const std::string bytes = ReadChunk(saver, piece);
      sums.image = package::Crc32c(sums.image, bytes.data(), bytes.size());
      out.Write(bytes);
      left -= int64_t(piece);
    }
    sizes.stored = saver.size;
  }
  package::FillPackageFields(record, sizes.stored, int64_t(texts.readme.size()),
                             int64_t(texts.license.size()), int64_t(texts.language.size()));
  const std::string allTexts = texts.readme + texts.license + texts.language;
  sums.texts = package::Crc32c(0, allTexts.data(), allTexts.size());
  sums.record = package::RecordChecksum(record);
  out.Write(package::PackageTail(texts.readme, texts.license, texts.language, record));
  return sums;
}

// What is written before the output is complete, beside it.
struct Scratch {
  std::string setup;              // the setup file, unsigned
  std::string uninstaller;        // the uninstaller computed from it
  std::string signedUninstaller;  // what the sign command makes of those two
  std::string signedSetup;
  std::vector<std::string> All() const {
    return {setup, uninstaller, signedUninstaller, signedSetup};
  }
};

// A signing tool may care for the extension of what it signs.
Scratch ScratchFor(const BuildOptions& options) {
  return {options.output + ".tmp", options.output + ".uninstaller.tmp.exe",
          options.output + ".uninstaller.signed.tmp.exe", options.output + ".signed.tmp.exe"};
}

// The output replaces the file of its name, and is first written to temporary files: none may be
// one of the inputs, however the paths are spelt.
void RefuseToOverwriteAnInput(const BuildOptions& options, const Scratch& scratch) {
  const auto output = IdentityOf(options.output);
  for (const NamedPath& input : InputPaths(options)) {
    const auto identity = IdentityOf(input.path);
    if (!identity) continue;
    const std::string inputName = options.Where(input.option) + " " + Quoted(input.path);
    if (output && *output == *identity)
      throw UsageError(OutputName(options) + " is the same file as " + inputName +
                       "; scrpack never writes over its input, so name another output file");
    for (const std::string& temporary : scratch.All()) {
      const auto scratchFile = IdentityOf(temporary);
      if (scratchFile && *scratchFile == *identity)
        throw UsageError(OutputName(options) + " is first written to " + Quoted(temporary) +
                         ", which is the same file as " + inputName + "; name another output file");
    }
  }
}

// Under --strict the warnings refuse the build; they have been shown already.
void RefuseWhenStrict(const BuildOptions& options, const std::string& warnings) {
  if (!options.strict || warnings.empty()) return;
  const auto count = std::count(warnings.begin(), warnings.end(), '\n');
  throw UsageError(
      options.Where("--strict") + ": " + OutputName(options) + " not written because of the " +
      (count == 1 ? std::string("warning") : std::to_string(count) + " warnings") + " above");
}

// The record's own fields from the options, converted to the code page (sizes and marker are the
// writer's). Throws UsageError naming the option when a text does not fit its field or names an
// unknown placeholder; warns about a file name without .scr or with a folder part and about an
// unusable title, and notes how the setup program will shorten the file name.
package::SettingsRecord RecordFromOptions(const BuildOptions& options, const CodePage& page,
                                          std::ostream& notes, std::ostream& warnings) {
  const std::string fileName = Ansi(
      options, "--file-name",
      options.fileName ? *options.fileName : fs::u8path(options.saver).filename().u8string(), page);
  const std::string title = Ansi(options, "--title", options.title, page);
  const std::string link = Ansi(options, "--link", options.link, page);
  const std::string folder =
      Ansi(options, "--default-folder", options.defaultFolder.value_or("<Program Files>"), page);
  const std::string subfolder = options.defaultSubfolder ? Ansi(options, "--default-subfolder",
                                                                *options.defaultSubfolder, page)
                                                         : title;
  const std::string fileNameWhere = options.Where(options.fileName ? "--file-name" : "--saver");
  RequireFits(title, kTitleLimit, options.Where("--title"));
  if (title.empty()) throw UsageError(options.Where("--title") + " must not be empty");
  RequireFits(link, kLinkLimit, options.Where("--link"));
  RequireFits(fileName, kFileNameLimit, fileNameWhere);
  if (fileName.empty()) throw UsageError(fileNameWhere + " must not be empty");
  RequireFits(folder, kFolderLimit, options.Where("--default-folder"));
  RequireFits(subfolder, kFolderLimit, options.Where("--default-subfolder"));
  CheckPlaceholders(options.Where("--default-folder"), folder);
  CheckPlaceholders(options.Where("--default-subfolder"), subfolder);
  CheckFolderName(options.Where("--default-folder"), folder, false, page);
  // Without the option the subfolder is the title, which WarnAboutTitle speaks of.
  if (options.defaultSubfolder)
    CheckFolderName(options.Where("--default-subfolder"), subfolder, true, page);
  CheckFileName(fileNameWhere, fileName, page);
  WarnAboutFileName(fileNameWhere, fileName, page, notes, warnings);
  WarnAboutTitle(options.Where("--title"), title, !options.defaultSubfolder, warnings);

  package::SettingsRecord record;
  record.SetScreensaverFileName(fileName);
  record.SetTitle(title);
  record.SetLinkText(link);
  record.SetAddUninstallEntry(options.uninstallEntry);
  record.SetAddStartMenuGroup(options.startMenu);
  record.SetAddDesktopShortcut(options.desktopShortcut);
  record.SetDefaultFolder(folder);
  record.SetDefaultSubfolder(subfolder);
  record.SetSkipFolderPage(options.skipFolderPage);
  return record;
}

// A value the block carries: in the code page, without line breaks and within its limit. A
// package marker inside it would be taken for the end of the package, so it is refused too.
std::string MetadataValue(const BuildOptions& options, const std::string& option,
                          const std::string& value, const CodePage& page) {
  const std::string where = options.Where(option);
  if (value.find_first_of("\r\n") != std::string::npos)
    throw UsageError(where + " holds a line break; give it on one line");
  const std::string ansi = Ansi(options, option, value, page);
  RequireFits(ansi, kMetadataLimit, where);
  for (const char* marker : {package::kSetupSignature, package::kUninstallSignature}) {
    if (ansi.find(std::string(marker, package::kSignatureSize)) != std::string::npos)
      throw UsageError(where + " holds the package marker '" +
                       std::string(marker, package::kSignatureSize) + "', which it cannot carry");
  }
  return ansi;
}

package::ExtensionBlock BlockFromOptions(const BuildOptions& options, const CodePage& page) {
  package::ExtensionBlock block;
  block.publisher = MetadataValue(options, "--publisher", options.publisher, page);
  block.version = MetadataValue(options, "--version", options.version, page);
  block.shellInstall = options.shellInstall;
  return block;
}

std::string EncodedBlock(const package::ExtensionBlock& block) {
  try {
    return package::EncodeExtension(block);
  } catch (const package::UnfitExtension& e) {
    throw std::runtime_error(std::string("cannot write the extension block: ") + e.what());
  }
}

// The uninstaller computed from the unsigned setup file, signed by the sign command or taken
// from --uninstaller-signature, as the block carries it.
package::UninstallerSignature SignedUninstaller(const BuildOptions& options, const Scratch& scratch,
                                                const package::SettingsRecord& record) {
  WriteUninstallerOf(scratch.setup, OutputName(options), scratch.uninstaller,
                     "the uninstaller of " + OutputName(options), false);
  std::string signedPath = options.uninstallerSignature;
  std::string what = options.Where("--uninstaller-signature") + " " + Quoted(signedPath);
  if (!options.signCommand.empty()) {
    signedPath = scratch.signedUninstaller;
    what = "the signed uninstaller";
    Sign(options.signCommand, scratch.uninstaller, signedPath, "the uninstaller");
  }
  const AppendedSignature appended = ReadAppendedSignature(scratch.uninstaller, signedPath, what);
  package::SettingsRecord installed = record;  // as the uninstaller holds it
  integration::ShortenSaverFileName(installed);
  return {package::RecordChecksum(installed), appended.checksum, appended.padding, appended.table};
}

// Writes the setup file and whatever signing needs, and puts the result in place of the output.
void WriteOutput(const BuildOptions& options, const std::string& stub, const std::string& saverHead,
                 InputFile& saver, const Texts& texts, package::SettingsRecord& record,
                 package::ExtensionBlock block, const CodingProgress& progress, ImageSizes& sizes) {
  const Scratch scratch = ScratchFor(options);
  TemporaryFiles temporaries(scratch.All());
  {
    OutputWriter writer(options, scratch.setup);
    block.checksums = WriteSetupFile(stub, saverHead, saver, texts, record, writer,
                                     options.compress, progress, sizes);
    writer.Flush();
    if (!options.signCommand.empty() || !options.uninstallerSignature.empty())
      block.uninstallerSignature = SignedUninstaller(options, scratch, record);
    writer.Write(EncodedBlock(block));
    writer.Close();
  }
  std::string finished = scratch.setup;
  if (!options.signCommand.empty()) {
    Sign(options.signCommand, scratch.setup, scratch.signedSetup, "the setup file");
    ReadAppendedSignature(scratch.setup, scratch.signedSetup, "the signed setup file");
    finished = scratch.signedSetup;
  }
  temporaries.MoveInPlace(finished, options.output, OutputName(options));
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
  RefuseToOverwriteAnInput(options, ScratchFor(options));
  std::ostringstream notes, warnings;
  const CodePage page = ChosenCodePage(options);
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
  try {
    const BuildOptions options = ParseBuildOptions(args);
    if (options.help) {
      out << kBuildHelp;
      return kExitOk;
    }
    const Built built = Build(options, out, err);
    out << "scrpack build: wrote " << options.output << " " << SizesShown(built) << "\n";
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
