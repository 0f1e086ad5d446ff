// The uninstaller's one job: confirm, remove what setup made, and have a temporary copy delete
// the uninstaller file once we have ended.
#include "uninstall/uninstall_procedure.h"

#include <string>
#include <utility>
#include <vector>

#include "integration/saver_registry.h"
#include "integration/shortcut_names.h"
#include "integration/shortcuts.h"
#include "integration/staging_names.h"
#include "integration/uninstall_entry.h"
#include "language/application_title.h"
#include "language/message_format.h"
#include "language/texts.h"
#include "language/translation.h"
#include "package/errors.h"
#include "package/package_reader.h"
#include "package/read_source.h"
#include "runlog/log_lines.h"
#include "text/path_parts.h"
#include "uninstall/leftovers.h"
#include "uninstall/removal_paths.h"
#include "uninstall/self_removal.h"

namespace uninstall {
namespace {

using integration::RunResult;
using language::Translate;

// Part of the removal is done and the rest will not be: what is gone stays gone.
UninstallOutcome CutShort(os::Cause cause) {
  UninstallOutcome outcome;
  outcome.result = RunResult::kFailedPartWay;
  outcome.cause = std::move(cause);
  return outcome;
}

// Reads the signature at the end of the package a second time, from a fresh handle: the record
// we are about to act on must really come from an uninstaller.
void RequireUninstallerPackage(os::Files& files, const std::string& uninstallerPath,
                               int64_t packageEnd, const package::SettingsRecord& record) {
  const auto file = files.Open(uninstallerPath, os::OpenMode::kReadShareAll);
  if (!file) throw package::CorruptedPackage("The uninstaller cannot read its own file.");
  package::FileReadSource source(*file);
  if (package::ReadDecisionSignature(source, packageEnd) != package::kUninstallSignature)
    throw package::CorruptedPackage("The uninstaller's marker is missing.");
  if (record.RecordMarker() != package::kRecordMarkerText)
    throw package::CorruptedPackage("The uninstaller's settings record is damaged.");
}

bool UserConfirms(os::Os& os, os::WindowRef owner, const std::string& title) {
  const std::string text =
      language::FormatMessageText(Translate(language::english::kConfirmRemoval), title);
  const std::string caption = title + ' ' + Translate(language::english::kUninstall);
  return os.system.ShowMessage(owner, text, caption, os::kMbYesNo | os::kMbIconQuestion) ==
         os::kIdYes;
}

// Without a telling name or a sound record the file of the packaged name may be the one setup
// declined to overwrite: it is not deleted, and the closing message names it as staying rather
// than claim a complete removal. The path of the screen saver removed, or empty.
std::string RemoveSaver(os::Files& files, const package::SettingsRecord& record,
                        const std::string& recorded, const std::string& uninstallerPath,
                        Leftovers& leftovers) {
  const std::string packagedName = text::PlainFileName(record.ScreensaverFileName());
  const std::string path = SaverPathToDelete(files, recorded, packagedName, uninstallerPath,
                                             integration::NameWord(language::english::kUninstall));
  if (!path.empty()) {
    DeleteOrScheduleAtRestart(files, path, leftovers);
    return path;
  }
  const std::string unsure = text::FolderPart(uninstallerPath) + packagedName;
  if (!packagedName.empty() && os::IsFileNotFolderAt(files, unsure))
    leftovers.remaining.push_back(unsure);
  return {};
}

// What the removal of files did, for the run's log: each file gone, and why each that stays
// could not go at once.
void LogFiles(runlog::RunLog& log, const std::vector<std::string>& paths,
              const Leftovers& leftovers) {
  for (const os::Cause& cause : leftovers.causes) runlog::Failure(log, cause);
  for (const std::string& path : paths) {
    bool stays = path.empty();
    for (const os::Cause& cause : leftovers.causes) stays = stays || cause.path == path;
    if (!stays) runlog::File(log, runlog::FileAction::kDeleted, path);
  }
}

// Each logs what a removal step did; false when something it was to remove stays.
bool LogRegistry(runlog::RunLog& log, const integration::RegistryRemoval& removal) {
  for (const std::string& value : removal.values)
    runlog::Registry(log, runlog::RegistryAction::kValueDeleted, removal.root, removal.valuesKey,
                     value);
  for (const std::string& key : removal.keys)
    runlog::Registry(log, runlog::RegistryAction::kKeyDeleted, removal.root, key);
  for (const os::Cause& cause : removal.failures) runlog::Failure(log, cause);
  return removal.failures.empty();
}

bool LogLinks(runlog::RunLog& log, const integration::LinkRemoval& removal) {
  for (const std::string& link : removal.links)
    runlog::Link(log, runlog::LinkAction::kRemoved, link);
  for (const std::string& group : removal.groups)
    runlog::Link(log, runlog::LinkAction::kGroupRemoved, group);
  for (const os::Cause& cause : removal.failures) runlog::Failure(log, cause);
  return removal.failures.empty();
}

// Everything after the user's Yes, from the first file to the last removal step.
UninstallOutcome Remove(os::Os& os, os::WindowRef owner, const package::SettingsRecord& record,
                        const std::string& recorded, const std::string& uninstallerPath,
                        bool unattended, runlog::RunLog& log) {
  const std::string title = record.Title();
  Leftovers leftovers;
  const std::string saverPath = RemoveSaver(os.files, record, recorded, uninstallerPath, leftovers);
  const integration::RegistryRemoval settings = integration::ClearSaverSettings(os.registry, title);
  const std::string readmePath =
      record.ReadmeSize() > 0
          ? ReadmePathToDelete(recorded, uninstallerPath, integration::ReadmeFileName(title))
          : std::string();
  DeleteOrScheduleAtRestart(os.files, readmePath, leftovers);
  // What an installation that was cut off left beside our files is ours to remove too.
  for (const std::string& path : {saverPath, readmePath, uninstallerPath})
    if (!path.empty())
      for (const std::string& leftover : integration::StagingLeftovers(os.files, path))
        DeleteOrScheduleAtRestart(os.files, leftover, leftovers);
  LogFiles(log, {saverPath, readmePath}, leftovers);
  bool allGone = LogRegistry(log, settings);

  UninstallOutcome outcome;
  // Composed before the removal steps below, so it is shown whatever they come to.
  const Goodbye goodbye{language::kApplicationTitle, ClosingMessage(title, leftovers)};
  const bool selfRemovalStarted =
      StartSelfRemoval(os, owner, uninstallerPath, unattended ? nullptr : &goodbye, log.Path());

  // An entry that stays still tells a deployment tool the screen saver is there: the exit code
  // must not say everything went.
  if (record.AddUninstallEntry())
    allGone &= LogRegistry(log, integration::RemoveUninstallEntry(os.registry, title));
  if (record.AddStartMenuGroup())
    allGone &= LogLinks(log, integration::RemoveStartMenuGroup(os, title));
  if (record.AddDesktopShortcut())
    allGone &= LogLinks(log, integration::RemoveDesktopShortcut(os, title));
  outcome.result = leftovers.Empty() && allGone && selfRemovalStarted ? RunResult::kDone
                                                                      : RunResult::kFailedPartWay;

  // Without the copy nobody would say goodbye, and the user would not learn that this file stays.
  if (!selfRemovalStarted) {
    leftovers.remaining.push_back(uninstallerPath);
    outcome.message = UninstallMessage{ClosingMessage(title, leftovers),
                                       language::kApplicationTitle, os::kMbIconWarning};
  }
  return outcome;
}

}  // namespace

UninstallOutcome UninstallProcedure(os::Os& os, os::WindowRef owner, int64_t packageEnd,
                                    const package::SettingsRecord& record, bool unattended,
                                    runlog::RunLog* log) {
  const std::string uninstallerPath = os.system.ModulePath();
  RequireUninstallerPackage(os.files, uninstallerPath, packageEnd, record);
  const std::string title = record.Title();
  if (!unattended && !UserConfirms(os, owner, title)) return {};

  // Read before ClearSaverSettings, which deletes the value.
  const std::string recorded =
      RecordedPathInOwnFolder(os.files, integration::ReadInstalledPath(os.registry, title),
                              uninstallerPath, text::PlainFileName(record.ScreensaverFileName()));
  try {
    return Remove(os, owner, record, recorded, uninstallerPath, unattended,
                  runlog::OrUnwritten(log));
  } catch (const package::Error& error) {
    return CutShort(integration::CauseOf(error));
  } catch (...) {
    return CutShort(os::Cause{"remove", uninstallerPath});
  }
}

}  // namespace uninstall
