// Start-up: read the package appended to our own file, decide between setup and uninstaller,
// and fill the wizard (or run the unattended installation).
#include <memory>
#include <string>

#include "language/application_title.h"
#include "language/texts.h"
#include "language/translation.h"
#include "package/package_reader.h"
#include "package/sections.h"
#include "text/path_parts.h"
#include "text/text_lines.h"
#include "uninstall/uninstall_procedure.h"
#include "wizard/scr_setup.h"

namespace wizard {
namespace {

constexpr std::size_t kFileNameFieldWidth = package::field::kScreensaverFileName.width;
// Versions from this index on get the short, plain file name.
constexpr int kFirstIndexWithShortNames = 5;
constexpr int kUnknownVersion = -1;

int Windows9xIndex(const os::VersionInfo& v) {
  if (v.major != 4) return kUnknownVersion;
  switch (v.minor) {
    case 0: return 0;
    case 10:
      // Second Edition reports " A " as its service-pack text.
      return v.servicePack.size() >= 2 && v.servicePack[1] == 'A' ? 2 : 1;
    case 90: return 3;
    default: return kUnknownVersion;
  }
}

int WindowsNtIndex(const os::VersionInfo& v) {
  if (v.major <= 4) return 4;
  if (v.major == 5 && v.minor == 0) return 5;
  if (v.major == 5 && v.minor == 1) return 6;
  if (v.major == 6) return 7;
  return kUnknownVersion;  // 5.2 and 7.0 on were unknown when this table was made
}

bool IsAsciiLetterOrDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Keeps the rewritten name inside its 256-byte field with room for the NUL. The characters go
// from in front of the extension, so the name still ends in ".scr" and its folder stays intact.
std::string BoundedToField(const std::string& directory, std::string name) {
  const std::size_t limit = kFileNameFieldWidth - 1;
  if (directory.size() + name.size() <= limit) return directory + name;
  const std::size_t excess = directory.size() + name.size() - limit;
  const std::size_t keepTail = name.size() >= 4 ? 4 : name.size();
  const std::size_t removable = name.size() - keepTail;
  const std::size_t cut = excess < removable ? excess : removable;
  name.erase(removable - cut, cut);
  return (directory + name).substr(0, limit);
}

// Without a name for our own file the system had none that this program can use: the file sits in
// a folder whose name this system's code page cannot hold and that has no short form either.
std::string OwnFileProblem(const std::string& ownPath) {
  if (ownPath.empty())
    return "Setup cannot open its own file: the name of the folder it is in holds characters that "
           "this system's code page cannot show. Move the file to another folder. Setup can not "
           "continue.";
  return "Cannot open the file \"" + ownPath + "\". Setup can not continue.";
}
}  // namespace

int WindowsVersionIndex(const std::optional<os::VersionInfo>& version) {
  if (!version) return kUnknownVersion;
  switch (version->platformId) {
    case 1: return Windows9xIndex(*version);
    case 2: return WindowsNtIndex(*version);
    default: return kUnknownVersion;
  }
}

void ShortenSaverFileName(package::SettingsRecord& record) {
  const std::string original = record.ScreensaverFileName();
  const std::string directory = text::FolderPart(original);
  std::string name = text::FileNamePart(original);

  const std::size_t firstDot = name.find('.');
  if (firstDot != std::string::npos && firstDot >= 8) name = name.substr(0, 8) + ".scr";
  if (name.size() > 4) {
    for (std::size_t i = 0; i + 4 < name.size(); ++i)
      if (!IsAsciiLetterOrDigit(name[i])) name[i] = '_';
  }
  const std::string rewritten = directory + name;
  // An unchanged name is left alone, so a field used to its full width keeps every byte.
  if (rewritten == original) return;
  record.SetScreensaverFileName(BoundedToField(directory, name));
}

void TSCRSetup::FormCreate() {
  const std::string ownPath = os_.system.ModulePath();
  std::unique_ptr<os::File> ownFile = os_.files.Open(ownPath, os::OpenMode::kReadShareAll);
  if (!ownFile) {
    // Nothing of the package can be read, so there is nothing to offer: say why and end.
    EndProgram(kExitUnreadable, OwnFileProblem(ownPath));
    return;
  }

  bool setupBranch = false;
  try {
    package::FileReadSource source(*ownFile);
    setupBranch = ReadPackageIntoWizard(source);
  } catch (const SilentAbort&) {
    // The uninstaller chose to end quietly; there is nothing wrong with the file.
    host_.HideForGood();
    EndProgram(exitCode_);
    return;
  } catch (...) {
    // Every error of the package's reading ends here with the corrupted-file message, and so
    // does an error of the uninstaller's own work, which start-up runs from inside that reading.
    // An error once the removal has begun leaves it half done.
    EndProgram(uninstallReport_.removalBegan ? kExitFailedPartWay : kExitUnreadable,
               language::Translate(language::english::kFileCorrupted));
    return;
  }
  ownFile.reset();
  if (!setupBranch) return;

  edDirectory.SetCaption(
      ExpandFolderMacros(os_, host_.Handle(), Record.DefaultFolder(), Record.DefaultSubfolder()));
  if (silentMode_) RunUnattendedInstallation();
}

// Steps that read the package; any failure in here means the file is damaged. Returns false
// when the file turned out to be an uninstaller, which has then done its work.
bool TSCRSetup::ReadPackageIntoWizard(package::ReadSource& source) {
  PackageEnd = package::RequirePackageEnd(source);
  Record = package::ReadRecord(source, PackageEnd);
  if (WindowsVersionIndex(os_.system.Version()) >= kFirstIndexWithShortNames)
    ShortenSaverFileName(Record);
  const std::string decision = package::ReadDecisionSignature(source, PackageEnd);
  LanguageText = package::ReadLanguageText(source, PackageEnd, Record);
  language::LoadTranslation(LanguageText, "Setup");
  LangRenameControls();

  if (package::KindOf(decision) != package::PackageKind::kSetup) {
    uninstall::UninstallProcedure(os_, host_.Handle(), PackageEnd, Record, uninstallReport_);
    host_.HideForGood();
    if (!uninstallReport_.removalBegan)
      EndProgram(exitCode_);
    else
      EndProgram(uninstallReport_.somethingStays ? kExitFailedPartWay : kExitDone);
    return false;
  }

  package::ValidateImage(Record, PackageEnd);
  if (Record.ReadmeSize() > 0)
    edReadme.SetLines(text::SplitTextLines(package::ReadReadmeText(source, PackageEnd, Record)));
  int firstPage = Record.SkipFolderPage() ? kPageReady : kPageDirectory;
  if (Record.LicenseSize() > 0) {
    edLicense.SetLines(text::SplitTextLines(package::ReadLicenseText(source, PackageEnd, Record)));
    firstPage = kPageLicense;
  }
  // The window was built showing 'Ready', so the header must be filled even when that page stays.
  Notebook.SetPosition(firstPage);
  NotebookPageChanged();

  Window.SetCaption(Record.Title() + " " + language::Translate(language::english::kSetup));
  const std::string link = Record.LinkText();
  if (link.empty()) {
    Link.SetVisible(false);
  } else {
    Link.SetCaption(link);
  }
  return true;
}

void TSCRSetup::FormDestroy() { language::FreeTranslation(); }

}  // namespace wizard
