// The uninstaller's one job: confirm, remove what setup made, and have a temporary copy delete
// the uninstaller file once we have ended. The caller (window creation) hides the window and
// ends the application afterwards, whatever happened here.
#include <string>

#include "integration/shortcut_names.h"
#include "integration/shortcuts.h"
#include "integration/uninstall_entry.h"
#include "language/translation.h"
#include "package/errors.h"
#include "package/package_reader.h"
#include "package/read_source.h"
#include "setup/command_line.h"
#include "setupmain/install_format.h"
#include "setupmain/scr_setup.h"
#include "uninstall/removal_paths.h"
#include "uninstall/self_removal.h"

namespace setupmain {

namespace {

using language::Translate;

// Reads the signature at the end of the package a second time, from a fresh handle: the record
// we are about to act on must really come from an uninstaller.
void RequireUninstallerPackage(os::Os& os, int64_t packageEnd, const package::SettingsRecord& record) {
  const auto file = os.files.Open(os.system.ModulePath(), os::OpenMode::kReadShareAll);
  if (!file) throw package::CorruptedPackage("The uninstaller cannot read its own file.");
  package::FileReadSource source(*file);
  if (package::ReadDecisionSignature(source, packageEnd) != package::kUninstallSignature)
    throw package::CorruptedPackage("The uninstaller's signature is missing.");
  if (record.RecordMarker() != package::kRecordMarkerText)
    throw package::CorruptedPackage("The uninstaller's settings record is damaged.");
}

bool UserConfirms(os::Os& os, os::WindowRef owner, const std::string& title) {
  const std::string text =
      FormatMessageText(Translate("Are you sure you want to remove %s and its components?"), title);
  const std::string caption = title + ' ' + Translate("Uninstall");
  return os.system.ShowMessage(owner, text, caption, os::kMbYesNo | os::kMbIconQuestion) == os::kIdYes;
}

void DeleteIfNamed(os::Files& files, const std::string& path) {
  if (!path.empty()) files.DeleteFileAt(path);
}

}  // namespace

void TSCRSetup::UninstallProcedure() {
  RequireUninstallerPackage(os_, PackageEnd, Record);
  const std::string title = Record.Title();
  const os::WindowRef owner = host_.Handle();
  if (!UserConfirms(os_, owner, title)) return;

  const std::string uninstallerPath = os_.system.ModulePath();
  // Read before ClearSaverSettings, which deletes the value.
  const std::string recorded = ReadInstalledPath();
  DeleteIfNamed(os_.files, uninstall::SaverPathToDelete(recorded, Record.ScreensaverFileName(), uninstallerPath));
  ClearSaverSettings();
  if (Record.ReadmeSize() > 0)
    DeleteIfNamed(os_.files, uninstall::ReadmePathToDelete(recorded, uninstallerPath, integration::ReadmeFileName(title)));

  // Composed before any removal step, so it is shown whatever they come to.
  const std::string success =
      FormatMessageText(Translate("%s has been successfully removed from your computer."), title);
  uninstall::StartSelfRemoval(os_, owner, setup::kApplicationTitle, success);

  if (Record.AddUninstallEntry()) integration::RemoveUninstallEntry(os_.registry, title);
  if (Record.AddStartMenuGroup()) integration::RemoveStartMenuGroup(os_, title);
  if (Record.AddDesktopShortcut()) integration::RemoveDesktopShortcut(os_, title);
}

}  // namespace setupmain
