#include "app/start_up.h"

#include <memory>
#include <string>

#include "app/exit_codes.h"
#include "app/own_package_reading.h"
#include "app/unattended_setup.h"
#include "app/unattended_switches.h"
#include "language/application_title.h"
#include "language/texts.h"
#include "language/translation.h"
#include "package/sections.h"
#include "runlog/log_lines.h"
#include "uninstall/uninstall_procedure.h"

namespace app {
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

// Start-up's own boxes have no window to belong to, and nobody reads them in an unattended run.
void Tell(os::Os& os, bool silent, const std::string& text, unsigned icon = os::kMbIconError) {
  if (!silent) os.system.ShowMessage(0, text, language::kApplicationTitle, os::kMbOk | icon);
}

int Corrupted(os::Os& os, bool silent) {
  Tell(os, silent, language::Translate(language::english::kFileCorrupted));
  return kExitUnreadable;
}

// What the log says of the run's end, before the exit code.
integration::RunOutcome Logged(runlog::RunLog& log, const integration::RunOutcome& outcome) {
  if (outcome.cause) runlog::Failure(log, *outcome.cause);
  switch (outcome.result) {
    case integration::RunResult::kDone: runlog::Outcome(log, "done"); break;
    case integration::RunResult::kStoppedUnchanged:
      runlog::Outcome(log, "stopped, nothing changed");
      break;
    case integration::RunResult::kFailedPartWay: runlog::Outcome(log, "failed part-way"); break;
  }
  return outcome;
}

// Start-up ends before the work began: the log says why, as nothing else may.
void LogStop(runlog::RunLog& log, os::Cause cause) {
  Logged(log, {integration::RunResult::kStoppedUnchanged, std::move(cause)});
}

// What made our own file unusable, in our own file; with the system's code for the last read that
// failed, if one did and the error knew none.
os::Cause CauseInOwnFile(const package::Error& error, const std::string& ownPath,
                         const os::File* file) {
  os::Cause cause = integration::CauseOf(error);
  if (cause.path.empty()) cause.path = ownPath;
  if (cause.code == 0 && file) cause.code = file->LastError();
  return cause;
}

// Runs one check or read of our own file. False, with the cause logged, when it found the file
// unusable (damaged, or not what it claims to be).
template <typename Step>
bool OwnFileServes(runlog::RunLog& log, const std::string& ownPath, const os::File* file,
                   Step step) {
  try {
    step();
    return true;
  } catch (const package::Error& error) {
    LogStop(log, CauseInOwnFile(error, ownPath, file));
  } catch (...) {
    LogStop(log, os::Cause{"read the program's own file", ownPath});
  }
  return false;
}

void LogPackage(runlog::RunLog& log, const package::OwnPackage& package) {
  const package::SettingsRecord& record = package.record;
  runlog::PackageFacts(log, record.Title(), package.extension.version,
                       {{"image", uint64_t(package::ImageLength(record))},
                        {"readme", uint64_t(record.ReadmeSize())},
                        {"licence", uint64_t(record.LicenseSize())},
                        {"language texts", uint64_t(record.LanguageSize())}});
}

int RunUninstaller(os::Os& os, os::WindowRef owner, const std::string& ownPath,
                   const package::OwnPackage& package, bool silent, bool removeWithoutAsking,
                   runlog::RunLog& log) {
  uninstall::UninstallOutcome outcome;
  // What fails here are its checks of our own file, which found no sound uninstaller: nothing was
  // removed.
  if (!OwnFileServes(log, ownPath, nullptr, [&] {
        outcome = uninstall::UninstallProcedure(os, owner, package.packageEnd, package.record,
                                                removeWithoutAsking, &log);
      }))
    return Corrupted(os, silent);
  Logged(log, outcome);
  // The uninstaller asked its question whatever the mode, so what it has to say at the end is
  // shown whatever the mode too; except where it was told not to ask, as nobody is there to read
  // it either.
  if (outcome.message && !removeWithoutAsking) {
    const uninstall::UninstallMessage& m = *outcome.message;
    os.system.ShowMessage(owner, m.text, m.caption, os::kMbOk | m.icon);
  } else if (outcome.cause) {
    // An error cut the removal short; it is reported as an error of our own file always was.
    Corrupted(os, silent);
  }
  return ExitCodeOf(outcome.result);
}

}  // namespace

int StartUp(os::Os& os, const CommandLine& commandLine, Windows& windows, runlog::RunLog& log) {
  const bool silent = IsSilentSwitch(commandLine);
  const UnattendedOptions options = ReadUnattendedOptions(commandLine);
  const std::string ownPath = os.system.ModulePath();
  std::unique_ptr<os::File> ownFile = os.files.Open(ownPath, os::OpenMode::kReadShareAll);
  if (!ownFile) {
    // Nothing of the package can be read, so there is nothing to offer: say why and end.
    LogStop(log, os::Cause{"open the program's own file", ownPath, os.files.LastError()});
    Tell(os, silent, OwnFileProblem(ownPath));
    return kExitUnreadable;
  }
  package::FileReadSource source(*ownFile);
  package::OwnPackage package;
  if (!OwnFileServes(log, ownPath, ownFile.get(),
                     [&] { package = ReadPackageHead(os.system, source); }))
    return Corrupted(os, silent);
  LogPackage(log, package);
  const std::string claim = RunClaimName(package.record.Title());
  if (!os.system.ClaimForThisRun(claim)) {
    LogStop(log, os::Cause{"start: another setup or uninstaller of this title is running", claim,
                           os.system.LastError()});
    Tell(os, silent, "Setup of " + package.record.Title() + " is already running.",
         os::kMbIconWarning);
    return kExitAnotherRunning;
  }
  if (package.kind != package::PackageKind::kSetup) {
    ownFile.reset();
    runlog::RunMode(log, silent && options.removeWithoutAsking
                             ? runlog::Mode::kUnattendedUninstaller
                             : runlog::Mode::kUninstaller);
    return RunUninstaller(os, windows.HiddenOwner(), ownPath, package, silent,
                          options.removeWithoutAsking, log);
  }
  if (!OwnFileServes(log, ownPath, ownFile.get(), [&] { ReadSetupTexts(source, package); }))
    return Corrupted(os, silent);
  ownFile.reset();
  if (silent) {
    runlog::RunMode(log, runlog::Mode::kUnattendedSetup);
    return ExitCodeOf(Logged(log, RunUnattendedInstallation(os, package, options, log)).result);
  }
  runlog::RunMode(log, runlog::Mode::kSetupWizard);
  return ExitCodeOf(Logged(log, windows.RunWizard(package, log)).result);
}

}  // namespace app
