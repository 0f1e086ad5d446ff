// Start-up: read the package appended to our own file, decide between setup and uninstaller,
// and fill the wizard (or run the unattended installation).
#include <memory>
#include <string>

#include "language/application_title.h"
#include "language/language_text.h"
#include "language/texts.h"
#include "language/translation.h"
#include "package/extension_block.h"
#include "package/package_checksums.h"
#include "package/package_reader.h"
#include "package/sections.h"
#include "integration/saver_file_name.h"
#include "text/text_lines.h"
#include "uninstall/uninstall_procedure.h"
#include "wizard/scr_setup.h"

namespace wizard {
namespace {

// Without a name for our own file the system had none that this program can use: the file sits in
// a folder whose name this system's code page cannot hold and that has no short form either.
std::string OwnFileProblem(const std::string& ownPath) {
  if (ownPath.empty())
    return "Setup cannot open its own file: the name of the folder it is in holds characters that "
           "this system's code page cannot show. Move the file to another folder. Setup can not "
           "continue.";
  return "Cannot open the file \"" + ownPath + "\". Setup can not continue.";
}

// The name a run of this title claims: two setups (or a setup and an uninstaller) of the same
// screen saver at once would race for the same files and registry values. The title in hex,
// as it may hold characters a name of the system cannot.
std::string RunClaimName(const std::string& title) {
  static const char kDigits[] = "0123456789abcdef";
  std::string name = "ScreensaverSetup-";
  for (const unsigned char c : title) name.append({kDigits[c >> 4], kDigits[c & 15]});
  return name;
}

int ExitCodeOf(uninstall::UninstallResult result) {
  switch (result) {
    case uninstall::UninstallResult::kRemoved: return kExitDone;
    case uninstall::UninstallResult::kSomethingStays: return kExitFailedPartWay;
    case uninstall::UninstallResult::kKept: break;
  }
  return kExitStoppedUnchanged;
}

// The uninstaller asked its question whatever the mode, so what it has to say at the end is shown
// whatever the mode too.
// Except where it was told not to ask: then nobody is there to read it either.
EndMessage MessageOf(const uninstall::UninstallOutcome& outcome, os::WindowRef owner,
                     bool unattended) {
  if (!outcome.message || unattended) return {};
  const uninstall::UninstallMessage& m = *outcome.message;
  return EndMessage{m.text, m.caption.c_str(), m.icon, owner, /*evenWhenSilent=*/true};
}

}  // namespace

void TSCRSetup::FormCreate() {
  const std::string ownPath = os_.system.ModulePath();
  std::unique_ptr<os::File> ownFile = os_.files.Open(ownPath, os::OpenMode::kReadShareAll);
  if (!ownFile) {
    // Nothing of the package can be read, so there is nothing to offer: say why and end.
    const EndMessage message{OwnFileProblem(ownPath)};
    EndProgram(kExitUnreadable, &message);
    return;
  }

  bool setupBranch = false;
  int failure = kExitDone;  // the exit code a failed reading ends with
  try {
    package::FileReadSource source(*ownFile);
    setupBranch = ReadPackageIntoWizard(source);
  } catch (const uninstall::RemovalCutShort&) {
    // The uninstaller's own work runs from inside the package's reading, so its errors are
    // reported here with the corrupted-file message, where start-up reports every error; this
    // one came once the removal had begun, and leaves it half done.
    failure = kExitFailedPartWay;
  } catch (...) {
    // Every error of the package's reading, and one of the uninstaller before it removed anything.
    failure = kExitUnreadable;
  }
  if (failure != kExitDone) {
    const EndMessage message{language::Translate(language::english::kFileCorrupted)};
    EndProgram(failure, &message);
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
  const bool setupFile = package::KindOf(package::ReadDecisionSignature(source, PackageEnd)) ==
                         package::PackageKind::kSetup;
  // A setup file whose record says it carries a block is refused without one; an uninstaller
  // carries the record byte for byte, flag and all, but never a block. The texts and the record
  // are checked as stored, before start-up adapts the record.
  Extension =
      package::RequireExtension(source, PackageEnd, setupFile && Record.HasExtensionBlock());
  package::RequireIntactTextsAndRecord(source, PackageEnd, Record, Extension);
  if (integration::GetsShortSaverFileNames(os_.system.Version()))
    integration::ShortenSaverFileName(Record);
  LanguageText = package::ReadLanguageText(source, PackageEnd, Record);
  language::LoadTranslation(LanguageText, language::kSetupSection);
  LangRenameControls();

  if (!os_.system.ClaimForThisRun(RunClaimName(Record.Title()))) {
    const EndMessage message{"Setup of " + Record.Title() + " is already running.",
                             language::kApplicationTitle, os::kMbIconWarning};
    EndProgram(kExitAnotherRunning, &message);
    return false;
  }
  if (!setupFile) {
    const uninstall::UninstallOutcome outcome = uninstall::UninstallProcedure(
        os_, host_.Handle(), PackageEnd, Record, unattended_.removeWithoutAsking);
    host_.HideForGood();
    const EndMessage message = MessageOf(outcome, host_.Handle(), unattended_.removeWithoutAsking);
    EndProgram(ExitCodeOf(outcome.result), &message);
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
