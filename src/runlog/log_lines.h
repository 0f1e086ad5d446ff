#pragma once
// What a run writes to its log, one function for each kind of entry, so that every entry of a
// kind reads the same whichever procedure writes it. Each takes the facts it needs, nothing more.
//
// Start-up opens the block: RunStarted, CommandLine, ProgramFile, RunMode, SystemFacts, and
// PackageFacts once the package is read. The procedures then write their folder, every file,
// registry key and value, link and shell verb as they act on it, a Failure for the cause of
// whatever stops them, their Outcome, and start-up ends the block with the ExitCode.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "os/failure.h"
#include "os/registry.h"
#include "os/system.h"
#include "runlog/run_log.h"

namespace runlog {

// kFileRemoval: the uninstaller's temporary copy, deleting the uninstaller file once it has ended.
enum class Mode {
  kSetupWizard,
  kUnattendedSetup,
  kUninstaller,
  kUnattendedUninstaller,
  kFileRemoval
};

// An argument no switch took, with its place on the command line (1 is the first after the
// program).
struct IgnoredArgument {
  std::size_t position = 0;
  std::string text;
};

// A part of the package and its size in bytes ("image", "readme", ...).
using PackagePart = std::pair<std::string, uint64_t>;

enum class FileAction { kStaged, kReplaced, kCommitted, kRestored, kDeleted };
enum class RegistryAction { kKeyCreated, kKeyDeleted, kValueWritten, kValueDeleted };
// kGroupRemoved: the Start-menu group's folder, once its links are gone.
enum class LinkAction { kMade, kRemoved, kGroupRemoved };

void RunStarted(RunLog& log);
void CommandLine(RunLog& log, const std::string& commandLine,
                 const std::vector<IgnoredArgument>& ignored);
void ProgramFile(RunLog& log, const std::string& path);
void RunMode(RunLog& log, Mode mode);
void SystemFacts(RunLog& log, const std::optional<os::VersionInfo>& version,
                 const std::string& account, std::optional<bool> elevated);
void PackageFacts(RunLog& log, const std::string& title, const std::string& version,
                  const std::vector<PackagePart>& parts);
void Folder(RunLog& log, const std::string& folder);

void File(RunLog& log, FileAction action, const std::string& path,
          std::optional<uint64_t> size = std::nullopt);
// `value` names the value for the value actions; `data` is what was written, if anything.
void Registry(RunLog& log, RegistryAction action, os::RegRoot root, const std::string& key,
              const std::string& value = {}, const std::string& data = {});
void Link(RunLog& log, LinkAction action, const std::string& linkPath,
          const std::string& target = {});
// ShellExecute's result: above 32 is success.
void ShellVerb(RunLog& log, const std::string& verb, const std::string& file, intptr_t result);

// The step that failed, its path, the system's code and the system's text for it.
void Failure(RunLog& log, const os::Cause& cause);
void Outcome(RunLog& log, const std::string& outcome);
void ExitCode(RunLog& log, int code);

}  // namespace runlog
