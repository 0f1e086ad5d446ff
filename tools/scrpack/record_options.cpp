#include "scrpack/record_options.h"

#include <filesystem>

#include "scrpack/input_checks.h"

namespace scrpack {
namespace {

namespace fs = std::filesystem;

void RequireFits(const std::string& value, std::size_t limit, const std::string& where) {
  if (value.size() > limit)
    throw UsageError(where + " is " + std::to_string(value.size()) + " bytes long; at most " +
                     std::to_string(limit) + " fit");
}

// One option's value in the code page.
std::string Ansi(const BuildOptions& options, const std::string& option, const std::string& value,
                 const CodePage& page) {
  return ValueToAnsi(value, page, options.Where(option));
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

}  // namespace

package::SettingsRecord RecordFromOptions(const BuildOptions& options, const CodePage& page,
                                          std::ostream& notes, std::ostream& warnings) {
  const std::string fileName = Ansi(
      options, "--file-name",
      options.fileName ? *options.fileName : fs::u8path(options.saver).filename().u8string(), page);
  const std::string title = Ansi(options, "--title", options.title, page);
  const std::string link = Ansi(options, "--link", options.link, page);
  const std::string folder =
      Ansi(options, "--default-folder",
           options.defaultFolder.value_or(package::kProgramFilesPlaceholder), page);
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

package::ExtensionBlock BlockFromOptions(const BuildOptions& options, const CodePage& page) {
  package::ExtensionBlock block;
  block.publisher = MetadataValue(options, "--publisher", options.publisher, page);
  block.version = MetadataValue(options, "--version", options.version, page);
  block.shellInstall = options.shellInstall;
  return block;
}

}  // namespace scrpack
