// The installation: the one procedure that changes the machine. It runs on the caller's thread
// and returns only when the installation is over; the progress sink keeps a window responsive.
#include "install/install_procedure.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "install/install_copy.h"
#include "install/install_error.h"
#include "install/install_files.h"
#include "install/real_folder.h"
#include "install/transaction.h"
#include "integration/saver_registry.h"
#include "integration/shortcut_names.h"
#include "integration/shortcuts.h"
#include "integration/target_file_name.h"
#include "integration/uninstaller_name.h"
#include "integration/uninstall_entry.h"
#include "language/message_format.h"
#include "language/texts.h"
#include "language/translation.h"
#include "package/sections.h"
#include "package/uninstaller_writer.h"
#include "runlog/log_lines.h"
#include "text/folder_names.h"
#include "text/path_parts.h"

namespace install {
namespace {

using language::Translate;

namespace english = language::english;

// Ends the attempt before anything was written, with the outcome that says why.
struct Stopped {
  InstallOutcome outcome;
};

// The hourglass and the disabled window last as long as this, so that neither stays behind when
// the copy ends by an error.
class CopyInProgress {
 public:
  explicit CopyInProgress(InstallProgress& progress) : progress_(progress) {
    progress_.CopyBegins();
  }
  ~CopyInProgress() { progress_.CopyEnds(); }
  CopyInProgress(const CopyInProgress&) = delete;
  CopyInProgress& operator=(const CopyInProgress&) = delete;

 private:
  InstallProgress& progress_;
};

// One run of the installation: the folder, the target path, the files it holds open and the
// transaction that owns what it creates, so that a failure leaves the machine as it found it.
class Installation {
 public:
  Installation(os::Os& os, const InstallRequest& request, InstallProgress& progress)
      : os_(os), request_(request), progress_(progress) {}

  InstallOutcome Run();

 private:
  // Before anything is written; each throws Stopped when the user has to choose another folder.
  void CheckFolder();
  void ChooseTarget();
  void CheckFilesToReplace();
  void CreateSaverFile();
  [[noreturn]] void Stop(const char* englishMessage, os::Cause cause);

  // The writing, from the image to the installed-path record; false when it failed and
  // everything was taken back.
  bool StageAndCommit();
  void OpenSource();
  void StageImage();
  void StageReadme();
  void StageUninstaller();
  void ExpandTargetPath();
  void Commit();
  void RecordInstalledPath();
  void CloseFiles();
  // The failed call's cause, with the file it names where the copy could not know it.
  void NoteFailure(const package::Error& error);
  InstallOutcome Failed();

  // After the commit: the shell and the system learn of the screen saver.
  void HandToShell();
  void Integrate();
  void LogCommittedFiles();

  std::string TargetFileName() const { return text::FileNamePart(targetPath_); }
  std::string SaverPath() const { return folder_ + TargetFileName(); }
  integration::EntryDetails EntryDetails() const;
  // Empty when there is no readme, or the title would take it out of the folder.
  std::string ReadmeFileName() const {
    return record_.ReadmeSize() > 0 ? integration::ReadmeFileName(record_.Title()) : std::string();
  }
  // The files this installation puts in place, each under its final name.
  std::vector<std::string> FinalPaths() const;
  std::string UninstallerFileName() const {
    return integration::UninstallerName(integration::NameWord(english::kUninstall),
                                        TargetFileName());
  }

  os::Os& os_;
  const InstallRequest& request_;
  InstallProgress& progress_;
  const package::SettingsRecord& record_ = request_.record;
  const package::ExtensionBlock& extension_ = request_.extension;
  runlog::RunLog& log_ = runlog::OrUnwritten(request_.log);
  InstallOutcome outcome_;
  std::string folder_;
  std::string targetPath_;
  std::string sourcePath_;
  std::vector<uint8_t> buffer_;
  bool damaged_ = false;              // the image differed from its checksum
  int64_t installedImageLength_ = 0;  // what the copy wrote: a coded image's decoded size
  // Declared before the files, so that they are closed before an unended transaction undoes.
  Transaction transaction_{os_.files, log_};
  std::unique_ptr<os::File> source_;
  std::unique_ptr<os::File> saverFile_;
  std::unique_ptr<os::File> uninstallerFile_;
};

InstallOutcome Installation::Run() {
  try {
    // Nothing is written until the folder, the target and every file to be replaced have passed:
    // a refusal here leaves the user free to choose another folder.
    CheckFolder();
    ChooseTarget();
    CheckFilesToReplace();
    CreateSaverFile();
  } catch (const Stopped& stopped) {
    return stopped.outcome;
  }
  // The image, the readme and the uninstaller under staging names, then all put in place at once.
  if (!StageAndCommit()) return Failed();
  // Only a complete installation reaches the shell and the system: a failed one never becomes
  // the system's screen saver, and no entry or shortcut points at files that are not there.
  transaction_.End();
  HandToShell();
  Integrate();
  outcome_.result = InstallResult::kDone;
  return outcome_;
}

void Installation::Stop(const char* englishMessage, os::Cause cause) {
  outcome_.cause = std::move(cause);
  transaction_.Undo();  // the folders this attempt made go again: the user chooses another folder
  outcome_.message = InstallMessage{Translate(englishMessage)};
  throw Stopped{outcome_};
}

void Installation::CheckFolder() {
  const std::string& typed = request_.folderText;
  // A name Windows cannot create is refused before any level of it is made.
  if (!text::IsCreatableFolderPath(typed))
    Stop(english::kCannotCreateFolder, os::Cause{"check the folder name", typed});
  bool created = true;
  std::vector<std::string> createdFolders;
  try {
    if (!typed.empty()) created = os::CreateFolderWithParents(os_.files, typed, createdFolders);
  } catch (...) {
    created = false;  // no code to tell; the folders made so far still go again
  }
  const os::ErrorCode code = os_.files.LastError();
  transaction_.NoteCreatedFolders(createdFolders);
  if (!created) Stop(english::kCannotCreateFolder, os::Cause{"create the folder", typed, code});
  if (!IsExistingFolder(os_.files, typed))
    Stop(english::kInvalidFolder, os::Cause{"find the folder", typed, os_.files.LastError()});
  folder_ = text::WithTrailingBackslash(typed);
  outcome_.checkedFolder = folder_;
  folder_ = RealFolderOf(os_.files, folder_);
  runlog::Folder(log_, folder_);
}

void Installation::ChooseTarget() {
  targetPath_ = folder_ + text::PlainFileName(record_.ScreensaverFileName());
  integration::ChooseTargetFileName(
      os_.files, [this] { return integration::ReadInstalledPath(os_.registry, record_.Title()); },
      targetPath_, folder_);
}

void Installation::CheckFilesToReplace() {
  // Each file that is there must take our writes before anything is copied: a running screen
  // saver, one that the settings' preview holds, a readme open in an editor or a running
  // uninstaller does not. Opening it for writing without truncating it tells; it is closed at
  // once and changes only once everything is written.
  const std::vector<std::string> finals = FinalPaths();
  for (const std::string& path : finals) {
    if (os_.files.Attributes(path) == os::kInvalidAttributes) continue;
    if (!os_.files.Open(path, os::OpenMode::kReadWriteExisting))
      Stop(english::kCannotCreateFile,
           os::Cause{"open the file to be replaced", path, os_.files.LastError()});
  }
  for (const std::string& path : finals) transaction_.ClearLeftovers(path);
}

std::vector<std::string> Installation::FinalPaths() const {
  std::vector<std::string> paths{targetPath_, folder_ + UninstallerFileName()};
  if (!ReadmeFileName().empty()) paths.push_back(folder_ + ReadmeFileName());
  return paths;
}

void Installation::CreateSaverFile() {
  saverFile_ = transaction_.Create(targetPath_);
  if (!saverFile_)
    Stop(english::kCannotCreateFile,
         os::Cause{"create the screen saver", targetPath_, os_.files.LastError()});
}

bool Installation::StageAndCommit() {
  try {
    OpenSource();
    StageImage();
    StageReadme();
    StageUninstaller();
    Commit();
    // Part of the writing: without the record an uninstaller would look for the screen saver
    // under the package's own file name, which after a numbered choice names another saver's.
    RecordInstalledPath();
    return true;
  } catch (const DamagedImage& error) {
    damaged_ = true;
    NoteFailure(error);
  } catch (const package::Error& error) {
    NoteFailure(error);
  } catch (...) {
    // Not one of ours (memory, most likely): the installation still takes back what it wrote.
    outcome_.cause = os::Cause{"install", targetPath_};
  }
  // The files that were there before are back under their names, and what this attempt wrote
  // goes.
  CloseFiles();
  transaction_.Undo();
  return false;
}

void Installation::OpenSource() {
  sourcePath_ = os_.system.ModulePath();
  source_ = os_.files.Open(sourcePath_, os::OpenMode::kReadShareRead);
  if (!source_)
    throw InstallError("The setup file cannot be opened.",
                       os::Cause{"open the setup file", sourcePath_, os_.files.LastError()});
}

void Installation::StageImage() {
  if (!source_->Seek(package::ImageStart(request_.packageEnd, record_)))
    throw InstallError("The screen saver cannot be found in the setup file.",
                       os::Cause{kReadSetupFileStep, sourcePath_, source_->LastError()});
  buffer_.resize(kCopyChunkSize);
  const int64_t length = package::ImageLength(record_);
  const bool coded = ImageIsCoded(*source_, length);
  CopyInProgress busy(progress_);
  const auto showPercent = [this](int percent) { progress_.Percent(percent); };
  uint32_t checksum = 0;
  if (coded) {
    // Read ahead for the decoder, beside the buffer the installed bytes pass through.
    std::vector<uint8_t> input(kCopyChunkSize);
    installedImageLength_ =
        DecodeImage(*source_, *saverFile_, length, buffer_, input, showPercent, checksum);
  } else {
    CopyImage(*source_, *saverFile_, length, buffer_, showPercent,
              extension_.checksums ? &checksum : nullptr);
    installedImageLength_ = length;
  }
  if (extension_.checksums && checksum != extension_.checksums->image) throw DamagedImage();
  saverFile_.reset();
}

void Installation::StageReadme() {
  const std::string name = ReadmeFileName();
  if (name.empty()) return;
  const std::unique_ptr<os::File> readme = transaction_.Create(folder_ + name);
  if (!readme)
    throw InstallError("The readme file cannot be written.",
                       os::Cause{"write the readme", folder_ + name, os_.files.LastError()});
  if (!WriteLines(*readme, request_.readmeLines, buffer_))
    throw InstallError("The readme file cannot be written.",
                       os::Cause{"write the readme", folder_ + name, readme->LastError()});
}

void Installation::StageUninstaller() {
  uninstallerFile_ = transaction_.Create(folder_ + UninstallerFileName());
  if (!uninstallerFile_)
    throw InstallError("The uninstaller cannot be created.",
                       os::Cause{"create the uninstaller", folder_ + UninstallerFileName(),
                                 os_.files.LastError()});
  ExpandTargetPath();
  // The signature made at build time, when it was made for this very uninstaller.
  const auto& signature = extension_.uninstallerSignature;
  package::WriteUninstaller(*source_, *uninstallerFile_, request_.packageEnd, record_,
                            signature ? &*signature : nullptr);
}

// From here on the target path is the expanded one: the integration steps and the installed-path
// record see it, while a failure before this point leaves them the path as chosen.
void Installation::ExpandTargetPath() {
  const std::string expanded = os_.files.FullPathName(SaverPath());
  if (expanded.empty())
    throw InstallError(
        "The full path of the screen saver cannot be had.",
        os::Cause{"expand the screen saver's path", SaverPath(), os_.files.LastError()});
  targetPath_ = expanded;
}

void Installation::Commit() {
  CloseFiles();  // a file is renamed only once nothing of ours holds it
  if (!transaction_.Commit())
    throw InstallError("The installed files cannot be put in place.", transaction_.Failure());
  LogCommittedFiles();
}

void Installation::RecordInstalledPath() {
  integration::StoreInstalledPath(os_.registry, record_.Title(), targetPath_);
  runlog::Registry(log_, runlog::RegistryAction::kValueWritten, integration::kSaverSettingsRoot,
                   integration::SaverKeyPath(record_.Title()), integration::kInstalledPathValue,
                   targetPath_);
}

void Installation::CloseFiles() {
  saverFile_.reset();
  uninstallerFile_.reset();
  source_.reset();
}

void Installation::LogCommittedFiles() {
  runlog::File(log_, runlog::FileAction::kCommitted, SaverPath(), uint64_t(installedImageLength_));
  if (!ReadmeFileName().empty())
    runlog::File(log_, runlog::FileAction::kCommitted, folder_ + ReadmeFileName(),
                 record_.ReadmeSize());
  runlog::File(log_, runlog::FileAction::kCommitted, folder_ + UninstallerFileName(),
               uint64_t(package::UninstallerLength(request_.packageEnd, record_)));
}

void Installation::NoteFailure(const package::Error& error) {
  os::Cause cause = integration::CauseOf(error);
  if (cause.path.empty()) cause.path = cause.step == kReadSetupFileStep ? sourcePath_ : targetPath_;
  outcome_.cause = std::move(cause);
}

InstallOutcome Installation::Failed() {
  outcome_.result = InstallResult::kFailedPartWay;
  outcome_.message =
      damaged_ ? InstallMessage{Translate(english::kFileCorrupted)}
               : InstallMessage{language::FormatMessageText(
                                    Translate(english::kInstallationNotComplete), record_.Title()),
                                MessageCaption::kSetupWindow};
  return outcome_;
}

void Installation::HandToShell() {
  // Under the LocalSystem account, where deployment tools run unattended installations, the verb
  // would make the screen saver that account's own and leave the Screen Saver settings open on
  // a desktop nobody sees.
  if (request_.unattended && os_.system.RunsAsLocalSystem()) return;
  // The author's choice for a screen saver that belongs where the system lists it anyway.
  if (!extension_.shellInstall) return;
  // An administrator's choice for a setup file that cannot be rebuilt.
  if (!request_.shellInstall) return;
  const intptr_t result =
      os_.shell.Execute(0, "install", SaverPath(), "", "", os::kSwShowNoActivate);
  runlog::ShellVerb(log_, "install", SaverPath(), result);
}

void Installation::Integrate() {
  const std::string title = record_.Title();
  const std::string uninstallerPath = text::FolderPart(targetPath_) + UninstallerFileName();
  if (record_.AddUninstallEntry()) {
    integration::RegisterUninstallEntry(os_.registry, title, uninstallerPath, EntryDetails());
    runlog::Registry(log_, runlog::RegistryAction::kKeyCreated, integration::kUninstallEntryRoot,
                     integration::UninstallKeyPath(title));
  }
  std::vector<std::string> links;
  if (record_.AddStartMenuGroup())
    links = integration::CreateStartMenuGroup(os_, title, uninstallerPath, SaverPath(),
                                              record_.ReadmeSize() > 0);
  if (record_.AddDesktopShortcut())
    for (const std::string& link : integration::CreateDesktopShortcut(os_, title, SaverPath()))
      links.push_back(link);
  for (const std::string& link : links) runlog::Link(log_, runlog::LinkAction::kMade, link);
}

integration::EntryDetails Installation::EntryDetails() const {
  // What the installation put on the disk, in KB rounded up, from the package's own sizes.
  const auto& signature = extension_.uninstallerSignature;
  int64_t bytes = installedImageLength_ + package::UninstallerLength(request_.packageEnd, record_) +
                  int64_t(record_.ReadmeSize());
  if (signature && package::SignatureFits(*signature, record_))
    bytes += int64_t(signature->padding) + int64_t(signature->table.size());
  integration::EntryDetails details;
  details.publisher = extension_.publisher;
  details.version = extension_.version;
  details.link = record_.LinkText();
  details.installLocation = text::FolderPart(targetPath_);
  details.estimatedSizeKb = uint32_t((bytes + 1023) / 1024);
  return details;
}

}  // namespace

InstallOutcome InstallScreenSaver(os::Os& os, const InstallRequest& request,
                                  InstallProgress& progress) {
  return Installation(os, request, progress).Run();
}

}  // namespace install
