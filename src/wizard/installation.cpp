// The installation: the one handler that changes the machine. It runs on the GUI thread and
// returns only when the installation is over; the window stays responsive through the message
// pump served after each chunk of the image copy, with the window disabled meanwhile.
#include <memory>
#include <string>
#include <vector>

#include "install/install_copy.h"
#include "install/install_error.h"
#include "install/install_files.h"
#include "install/install_names.h"
#include "install/rollback.h"
#include "integration/shortcut_names.h"
#include "integration/shortcuts.h"
#include "integration/uninstall_entry.h"
#include "language/application_title.h"
#include "language/message_format.h"
#include "language/texts.h"
#include "language/translation.h"
#include "package/sections.h"
#include "package/uninstaller_writer.h"
#include "text/path_parts.h"
#include "wizard/scr_setup.h"

namespace wizard {
namespace {

using language::Translate;

namespace english = language::english;

// The window takes no input and the hourglass shows for as long as this lives, so that neither
// stays behind when the copy ends by an error.
class BusyWindow {
 public:
  explicit BusyWindow(ui::FormHost& host) : host_(host) {
    host_.SetWindowEnabled(false);
    host_.SetBusyCursor(true);
  }
  ~BusyWindow() {
    host_.SetBusyCursor(false);
    host_.SetWindowEnabled(true);
  }
  BusyWindow(const BusyWindow&) = delete;
  BusyWindow& operator=(const BusyWindow&) = delete;

 private:
  ui::FormHost& host_;
};

// One run of the installation: the folder, the target path, the files it holds open and what it
// has created, so that a failure leaves the machine as it found it.
class Installation {
 public:
  explicit Installation(TSCRSetup& form) : form_(form), os_(form.Os()), host_(form.Host()) {}

  void EnterProgressState();
  // Creates and checks the folder, picks the target and creates it; stops with the silent abort
  // (after saying why) when the user has to choose another folder.
  void PrepareTarget();
  // Everything from the copy to the outcome; true when the screen saver was fully installed,
  // false when the installation failed and was rolled back.
  bool CopyAndIntegrate();

 private:
  [[noreturn]] void Abort(const char* englishMessage);
  void PrepareFolder();
  void CreateTargetFile();
  void RunMainBlock();
  void OpenSource();
  void CopyImageWithProgress();
  void WriteReadme();
  void WriteUninstallerFile();
  void HandleFailure();
  void HandToShell();
  void RunIntegrationSteps();
  bool ReportOutcome();

  std::string TargetFileName() const { return text::FileNamePart(targetPath_); }
  std::string SaverPath() const { return folder_ + TargetFileName(); }
  std::string UninstallerFileName() const {
    return install::UninstallerName(integration::NameWord(english::kUninstall), TargetFileName());
  }

  TSCRSetup& form_;
  os::Os& os_;
  ui::FormHost& host_;
  const package::SettingsRecord& record_ = form_.Record;
  std::string folder_;
  std::string targetPath_;
  bool success_ = true;
  std::unique_ptr<os::File> saverFile_;
  std::unique_ptr<os::File> uninstallerFile_;
  std::unique_ptr<os::File> source_;
  std::vector<uint8_t> buffer_;
  install::Rollback rollback_{os_.files};
};

void Installation::EnterProgressState() {
  form_.SetPage(kPageProgress);
  form_.btnNext.SetVisible(false);
  form_.ProgressBar.SetMaximum(100);
}

void Installation::Abort(const char* englishMessage) {
  rollback_.Run();  // the folders this attempt made go again: the user chooses another folder
  if (form_.SilentMode())
    host_.Terminate();
  else
    os_.system.ShowMessage(host_.Handle(), Translate(englishMessage), language::kApplicationTitle,
                           os::kMbOk | os::kMbIconError);
  form_.SetPage(kPageDirectory);
  throw SilentAbort();
}

void Installation::PrepareTarget() {
  PrepareFolder();
  targetPath_ = folder_ + text::PlainFileName(record_.ScreensaverFileName());
  try {
    form_.ChooseTargetFileName(targetPath_, folder_);
  } catch (...) {
    // As after an abort, but the event dispatch shows the error itself.
    rollback_.Run();
    form_.SetPage(kPageDirectory);
    throw;
  }
  CreateTargetFile();
}

void Installation::PrepareFolder() {
  const std::string typed = form_.edDirectory.Caption();
  bool created = true;
  std::vector<std::string> createdFolders;
  try {
    if (!typed.empty())
      created = install::CreateFolderWithParents(os_.files, typed, createdFolders);
  } catch (...) {
    created = false;
  }
  rollback_.NoteCreatedFolders(createdFolders);
  if (!created) Abort(english::kCannotCreateFolder);
  if (!install::IsExistingFolder(os_.files, typed)) Abort(english::kInvalidFolder);
  if (typed.back() != '\\') form_.edDirectory.SetCaption(typed + '\\');
  folder_ = form_.edDirectory.Caption();
}

void Installation::CreateTargetFile() {
  saverFile_ = os_.files.Open(targetPath_, os::OpenMode::kCreateAlways);
  if (!saverFile_) Abort(english::kCannotCreateFile);
}

bool Installation::CopyAndIntegrate() {
  try {
    RunMainBlock();
  } catch (...) {
    HandleFailure();
  }
  // Only a complete installation reaches the shell and the system: a failed one never becomes
  // the system's screen saver, and no entry or shortcut points at files that are not there.
  if (success_) {
    HandToShell();
    RunIntegrationSteps();
  }
  uninstallerFile_.reset();
  source_.reset();
  return ReportOutcome();
}

void Installation::RunMainBlock() {
  OpenSource();
  CopyImageWithProgress();
  saverFile_.reset();
  if (record_.ReadmeSize() > 0) WriteReadme();
  WriteUninstallerFile();
  // Part of the block: without the record an uninstaller would look for the screen saver under
  // the package's own file name, which after a numbered choice names another saver's file.
  form_.StoreInstalledPath(targetPath_);
}

void Installation::OpenSource() {
  source_ = os_.files.Open(os_.system.ModulePath(), os::OpenMode::kReadShareRead);
  if (!source_) throw install::InstallError("The setup file cannot be opened.");
}

void Installation::CopyImageWithProgress() {
  if (!source_->Seek(package::ImageStart(form_.PackageEnd, record_)))
    throw install::InstallError("The screen saver cannot be found in the setup file.");
  buffer_.resize(install::kCopyChunkSize);
  BusyWindow busy(host_);
  install::CopyImage(*source_, *saverFile_, package::ImageLength(record_), buffer_,
                     [this](int percent) {
                       form_.ProgressBar.SetPosition(percent);
                       host_.RepaintNow(ui::ControlId::ProgressBar);
                       host_.ProcessMessages();
                     });
}

void Installation::WriteReadme() {
  const std::string name = integration::ReadmeFileName(record_.Title());
  if (name.empty()) return;  // the title would take it out of the folder
  const std::string path = folder_ + name;
  rollback_.NoteNewFile(path);
  if (!install::WriteLinesFile(os_.files, path, form_.edReadme.Lines(), buffer_))
    throw install::InstallError("The readme file cannot be written.");
}

void Installation::WriteUninstallerFile() {
  const std::string path = folder_ + UninstallerFileName();
  rollback_.NoteNewFile(path);
  uninstallerFile_ = os_.files.Open(path, os::OpenMode::kCreateAlways);
  if (!uninstallerFile_) throw install::InstallError("The uninstaller cannot be created.");
  package::WriteUninstaller(*source_, *uninstallerFile_, form_.PackageEnd, record_, [this] {
    // From here on the target path is the expanded one: the integration steps and the installed-
    // path record see it, while a failure before this point leaves them the path as chosen.
    const std::string expanded = os_.files.FullPathName(SaverPath());
    if (expanded.empty())
      throw install::InstallError("The full path of the screen saver cannot be had.");
    targetPath_ = expanded;
  });
}

void Installation::HandleFailure() {
  success_ = false;
  saverFile_.reset();
  uninstallerFile_.reset();
  // A file that cannot go stays; there is nothing more to try.
  install::RemovePartialFile(os_.files, SaverPath());
  rollback_.Run();
}

void Installation::HandToShell() {
  os_.shell.Execute(0, "install", SaverPath(), "", "", os::kSwShowNoActivate);
}

void Installation::RunIntegrationSteps() {
  const std::string title = record_.Title();
  const std::string uninstallerPath = text::FolderPart(targetPath_) + UninstallerFileName();
  if (record_.AddUninstallEntry())
    integration::RegisterUninstallEntry(os_.registry, title, uninstallerPath);
  if (record_.AddStartMenuGroup())
    integration::CreateStartMenuGroup(os_, title, uninstallerPath, SaverPath(),
                                      record_.ReadmeSize() > 0);
  if (record_.AddDesktopShortcut()) integration::CreateDesktopShortcut(os_, title, SaverPath());
}

bool Installation::ReportOutcome() {
  if (success_) {
    if (record_.ReadmeSize() == 0) form_.SetPage(kPageFinished);
    return true;
  }
  if (form_.SilentMode()) {
    host_.Terminate();
  } else {
    os_.system.ShowMessage(
        host_.Handle(),
        language::FormatMessageText(Translate(english::kInstallationNotComplete), record_.Title()),
        form_.Window.Caption(), os::kMbOk | os::kMbIconError);
    host_.Close();
  }
  return false;
}

}  // namespace

void TSCRSetup::btnOKClick() {
  Installation installation(*this);
  installation.EnterProgressState();
  // An abort, or an error, before this point has written nothing (what it created is gone
  // again), so the exit code keeps saying so.
  installation.PrepareTarget();
  exitCode_ = installation.CopyAndIntegrate() ? kExitDone : kExitFailedPartWay;
  if (silentMode_) host_.Terminate();
}

}  // namespace wizard
