#include "runlog/log_lines.h"

namespace runlog {

namespace {

const char* ModeName(Mode mode) {
  switch (mode) {
    case Mode::kSetupWizard: return "setup wizard";
    case Mode::kUnattendedSetup: return "unattended setup";
    case Mode::kUninstaller: return "uninstaller";
    case Mode::kUnattendedUninstaller: return "unattended uninstaller";
    case Mode::kFileRemoval: return "file removal";
  }
  return "?";
}

const char* FileActionName(FileAction action) {
  switch (action) {
    case FileAction::kStaged: return "File staged";
    case FileAction::kReplaced: return "File replaced";
    case FileAction::kCommitted: return "File committed";
    case FileAction::kRestored: return "File restored";
    case FileAction::kDeleted: return "File deleted";
  }
  return "File";
}

const char* LinkActionName(LinkAction action) {
  switch (action) {
    case LinkAction::kMade: return "Link made";
    case LinkAction::kRemoved: return "Link removed";
    case LinkAction::kGroupRemoved: return "Start-menu group removed";
  }
  return "Link";
}

const char* RegistryActionName(RegistryAction action) {
  switch (action) {
    case RegistryAction::kKeyCreated: return "Registry key created";
    case RegistryAction::kKeyDeleted: return "Registry key deleted";
    case RegistryAction::kValueWritten: return "Registry value written";
    case RegistryAction::kValueDeleted: return "Registry value deleted";
  }
  return "Registry";
}

std::string Quoted(const std::string& text) { return '"' + text + '"'; }

std::string YesNoUnknown(std::optional<bool> answer) {
  if (!answer) return "unknown";
  return *answer ? "yes" : "no";
}

}  // namespace

void RunStarted(RunLog& log) { log.Write("==== Run started ===="); }

void CommandLine(RunLog& log, const std::string& commandLine,
                 const std::vector<IgnoredArgument>& ignored) {
  log.Write("Command line: " + commandLine);
  for (const IgnoredArgument& argument : ignored)
    log.Write("Ignored argument " + std::to_string(argument.position) + ": " +
              Quoted(argument.text));
}

void ProgramFile(RunLog& log, const std::string& path) { log.Write("Program file: " + path); }

void RunMode(RunLog& log, Mode mode) { log.Write(std::string("Mode: ") + ModeName(mode)); }

void SystemFacts(RunLog& log, const std::optional<os::VersionInfo>& version,
                 const std::string& account, std::optional<bool> elevated) {
  if (version) {
    std::string line = "Windows: " + std::to_string(version->major) + '.' +
                       std::to_string(version->minor) + ", platform " +
                       std::to_string(version->platformId);
    if (!version->servicePack.empty()) line += ", " + version->servicePack;
    log.Write(line);
  } else {
    log.Write("Windows: version unknown");
  }
  log.Write("Account: " + (account.empty() ? std::string("unknown") : Quoted(account)) +
            ", elevated: " + YesNoUnknown(elevated));
}

void PackageFacts(RunLog& log, const std::string& title, const std::string& version,
                  const std::vector<PackagePart>& parts) {
  log.Write("Package: " + Quoted(title) + ", version " + Quoted(version));
  for (const PackagePart& part : parts)
    log.Write("Package part: " + part.first + ", " + std::to_string(part.second) + " bytes");
}

void Folder(RunLog& log, const std::string& folder) { log.Write("Folder: " + folder); }

void File(RunLog& log, FileAction action, const std::string& path, std::optional<uint64_t> size) {
  std::string line = std::string(FileActionName(action)) + ": " + path;
  if (size) line += ", " + std::to_string(*size) + " bytes";
  log.Write(line);
}

void Registry(RunLog& log, RegistryAction action, os::RegRoot root, const std::string& key,
              const std::string& value, const std::string& data) {
  std::string line =
      std::string(RegistryActionName(action)) + ": " + os::RootName(root) + '\\' + key;
  const bool ofValue =
      action == RegistryAction::kValueWritten || action == RegistryAction::kValueDeleted;
  if (ofValue) line += ", value " + Quoted(value);
  if (action == RegistryAction::kValueWritten) line += " = " + Quoted(data);
  log.Write(line);
}

void Link(RunLog& log, LinkAction action, const std::string& linkPath, const std::string& target) {
  std::string line = std::string(LinkActionName(action)) + ": " + linkPath;
  if (!target.empty()) line += " -> " + target;
  log.Write(line);
}

void ShellVerb(RunLog& log, const std::string& verb, const std::string& file, intptr_t result) {
  log.Write("Shell verb " + Quoted(verb) + " on " + file + ": " +
            (result > 32 ? "started" : "refused, code " + std::to_string(result)));
}

void Failure(RunLog& log, const os::Cause& cause) {
  std::string line = "Failed: " + cause.step;
  if (!cause.path.empty()) line += ": " + cause.path;
  if (cause.code != 0) {
    const std::string text = log.ErrorText(cause.code);
    line += ": error " + std::to_string(cause.code) + (text.empty() ? "" : " (" + text + ")");
  }
  log.Write(line);
}

void Outcome(RunLog& log, const std::string& outcome) { log.Write("Outcome: " + outcome); }

void ExitCode(RunLog& log, int code) { log.Write("Exit code: " + std::to_string(code)); }

}  // namespace runlog
