#include "scrpack/inspect_command.h"

#include <optional>

#include "package/coded_image.h"
#include "package/errors.h"
#include "package/package_reader.h"
#include "package/pe_image.h"
#include "package/pe_signature.h"
#include "package/sections.h"
#include "scrpack/ansi_text.h"
#include "scrpack/extension_report.h"
#include "scrpack/input_file.h"
#include "scrpack/nearest_name.h"
#include "scrpack/report.h"
#include "scrpack/scrpack.h"
#include "scrpack/stream_source.h"

namespace scrpack {

const char kInspectHelp[] =
    "scrpack inspect [--json] FILE\n"
    "  Shows the settings and the positions of the sections of a setup file or an uninstaller,\n"
    "  one 'Name: value' line each (--json: one JSON object), whether the file carries a code\n"
    "  signature (Authenticode certificate table), and what the extension block behind the\n"
    "  package carries: the publisher, the version, the checksums, whether the uninstaller's\n"
    "  signature fits (or that there is none, or that it is missing or damaged). Fails when\n"
    "  FILE holds no package, or one that lies in its code signature (tampered).\n";

const char kVerifyHelp[] =
    "scrpack verify [--json] FILE\n"
    "  Applies the checks the setup program makes when it starts (the package marker at the end,\n"
    "  never in the code signature, the sizes and sections, the extension block its record\n"
    "  announces, the record marker of an uninstaller) and says in one line whether FILE would\n"
    "  start. Then it reads the whole setup file and says, per part, whether the image, the\n"
    "  texts and the record match the checksums the extension block holds (intact, damaged, or\n"
    "  unchecked without a block), what the block carries, and whether the uninstaller's\n"
    "  signature fits (none, fits, does not fit). Exit status 0 when the file would start and\n"
    "  nothing is damaged, 1 when not.\n";

namespace {

struct Command {
  bool json = false;
  std::string path;
};

const std::vector<std::string> kOptions = {"--json", "--help", "-h"};

// The file to look at, or the exit status when the command ends here: after the help, or after
// the message that the arguments cannot be used.
std::optional<int> ParseCommand(const std::vector<std::string>& args, const char* name,
                                const char* help, Command& command, std::ostream& out,
                                std::ostream& err) {
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    out << help;
    return kExitOk;
  }
  for (const std::string& arg : args) {
    const std::string unknown = UnknownOption(arg, kOptions);
    if (!unknown.empty()) {
      err << "scrpack " << name << ": " << unknown << "\n";
      return kExitUsage;
    }
    if (arg == "--json" && !command.json) {
      command.json = true;
    } else if (command.path.empty() && !arg.empty() && arg[0] != '-') {
      command.path = arg;
    } else {
      command.path.clear();
      break;
    }
  }
  if (!command.path.empty()) return std::nullopt;
  err << "scrpack " << name << ": expects exactly one file\n" << help;
  return kExitUsage;
}

void AddRecord(Report& report, const package::SettingsRecord& r) {
  report.Add("PackageSize", int64_t(r.PackageSize()));
  report.Add("ScreensaverFileName", Shown(r.ScreensaverFileName()));
  report.Add("Title", Shown(r.Title()));
  report.Add("LinkText", Shown(r.LinkText()));
  report.Add("AddUninstallEntry", r.AddUninstallEntry());
  report.Add("AddStartMenuGroup", r.AddStartMenuGroup());
  report.Add("AddDesktopShortcut", r.AddDesktopShortcut());
  report.Add("TextsSize", int64_t(r.TextsSize()));
  report.Add("ReadmeSize", int64_t(r.ReadmeSize()));
  report.Add("LicenseSize", int64_t(r.LicenseSize()));
  report.Add("LanguageSize", int64_t(r.LanguageSize()));
  report.Add("DefaultFolder", Shown(r.DefaultFolder()));
  report.Add("DefaultSubfolder", Shown(r.DefaultSubfolder()));
  report.Add("SkipFolderPage", r.SkipFolderPage());
  report.Add("RecordMarker", Shown(r.RecordMarker()));
}

void AddSections(Report& report, const package::PackageInfo& info) {
  const int64_t end = info.packageEnd;
  const auto& r = info.record;
  if (info.kind == package::PackageKind::kSetup) {
    report.Add("StubLength", package::StubLength(end, r));
    report.Add("ImageStart", package::ImageStart(end, r));
    report.Add("ImageLength", package::ImageLength(r));
  } else {
    // An uninstaller's record keeps the setup file's PackageSize; its stub ends where the texts
    // begin.
    report.Add("StubLength", package::TextsStart(end, r));
  }
  report.Add("TextsStart", package::TextsStart(end, r));
  report.Add("ReadmeStart", package::ReadmeStart(end, r));
  report.Add("LicenseStart", package::LicenseStart(end, r));
  report.Add("LanguageStart", package::LanguageStart(end, r));
  report.Add("RecordStart", package::RecordStart(end));
  report.Add("MarkerStart", package::SignatureStart(end));
  report.Add("FileSize", info.fileSize);
  report.Add("TrailingBytes", info.fileSize - end);
}

// The image as the file carries it and as it is installed: the same for a stored image, the
// decoded size for a coded one ("damaged" when its header is).
void AddImageSizes(Report& report, package::ReadSource& source, const package::PackageInfo& info) {
  if (info.kind != package::PackageKind::kSetup) return;
  report.Add("ImageStoredSize", package::ImageLength(info.record));
  try {
    const package::ImageSizes sizes = package::ImageSizesOf(source, info.packageEnd, info.record);
    report.Add("ImageCompressed", sizes.coded);
    report.Add("ImageInstalledSize", sizes.installed);
  } catch (const package::CorruptedPackage&) {
    report.Add("ImageCompressed", true);
    report.Add("ImageInstalledSize", std::string("damaged"));
  }
}

bool CarriesCertificate(package::ReadSource& source) {
  uint8_t header[package::kPeHeaderProbe];
  uint32_t delivered = 0;
  const int64_t size = source.Size();
  const auto wanted =
      static_cast<uint32_t>(size < int64_t(sizeof header) ? size : int64_t(sizeof header));
  return source.ReadAt(0, header, wanted, delivered) &&
         package::HasCertificateEntry(header, delivered);
}

const char* KindName(package::PackageKind kind) {
  return kind == package::PackageKind::kSetup ? "setup" : "uninstaller";
}

// The checks of start-up, in its order: trailer search, record, marker, texts, then the image and
// the two other texts of a setup file, or the uninstaller's record marker. Returns the reason the
// file would not start, or nothing.
std::string WhyItWouldNotStart(package::ReadSource& source, package::PackageInfo& info) {
  try {
    info = package::ReadPackage(source);
  } catch (const package::CorruptedPackage& e) {
    return e.what();
  }
  if (info.kind == package::PackageKind::kUninstaller &&
      info.record.RecordMarker() != package::kRecordMarkerText)
    return "the uninstaller's record marker is not " + std::string(package::kRecordMarkerText);
  return "";
}

}  // namespace

int RunInspect(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Command command;
  if (const auto done = ParseCommand(args, "inspect", kInspectHelp, command, out, err))
    return *done;
  StreamSource source(command.path);
  if (!source.IsOpen() || source.Size() < 0) {
    err << "scrpack inspect: cannot read '" << command.path << "': " << WhyUnreadable(command.path)
        << "\n";
    return kExitFailed;
  }
  try {
    const package::PackageInfo info = package::ReadPackage(source);
    Report report;
    report.Add("Kind", std::string(KindName(info.kind)));
    report.Add("PackageEnd", info.packageEnd);
    report.Add("Marker", info.signature);
    AddRecord(report, info.record);
    AddSections(report, info);
    AddImageSizes(report, source, info);
    report.Add("CertificateTable", CarriesCertificate(source));
    AddBlockRows(report, FindBlock(source, info), info.record);
    if (command.json)
      report.PrintJson(out);
    else
      report.PrintLines(out);
    return kExitOk;
  } catch (const package::CorruptedPackage& e) {
    err << "scrpack inspect: '" << command.path << "': " << e.what() << "\n";
    return kExitFailed;
  }
}

namespace {

// What verify found beyond start-up's checks in a setup file that would start.
struct Verdict {
  FoundBlock found;
  PartStates parts;
  std::string damage;  // empty when nothing is damaged
  bool starts = true;
};

std::string DamagedParts(const PartStates& parts, bool withImage) {
  std::string names;
  const auto add = [&](PartState state, const char* name) {
    if (state != PartState::kDamaged) return;
    names += names.empty() ? "" : " and ";
    names += name;
  };
  if (withImage) add(parts.image, "the image");
  add(parts.texts, "the texts");
  add(parts.record, "the settings record");
  return names;
}

std::string WhatIsWrongWith(BlockState state) {
  switch (state) {
    case BlockState::kNone: return "is missing";
    case BlockState::kLaterVersion:
      return "is from a later scrpack, which this setup program cannot read";
    case BlockState::kDamaged:
    case BlockState::kPresent: break;
  }
  return "is damaged";
}

// The new stub checks the texts and the record when it starts and the image while it copies it.
Verdict CheckWholeSetupFile(package::ReadSource& source, const package::PackageInfo& info) {
  Verdict verdict;
  verdict.found = FindBlock(source, info);
  verdict.parts = CheckParts(source, info.packageEnd, info.record, verdict.found);
  const std::string all = DamagedParts(verdict.parts, true);
  const std::string checksums = all.find(" and ") == std::string::npos
                                    ? "the checksum of " + all + " differs"
                                    : "the checksums of " + all + " differ";
  if (!DamagedParts(verdict.parts, false).empty()) {
    verdict.starts = false;
    verdict.damage = "the file is damaged: " + checksums;
  } else if (!all.empty()) {
    verdict.damage =
        "the file is damaged: " + checksums + ", so setup would stop while installing it";
  } else if (verdict.found.required && verdict.found.state != BlockState::kPresent) {
    verdict.starts = false;
    verdict.damage =
        "the file is damaged: the extension block that its settings record "
        "announces " +
        WhatIsWrongWith(verdict.found.state);
  } else if (verdict.found.state == BlockState::kDamaged) {
    verdict.damage =
        "the extension block is damaged: setup ignores it and installs without its "
        "checksums, publisher, version and uninstaller signature";
  }
  return verdict;
}

void AddVerdictRows(Report& report, const Verdict& verdict, const package::SettingsRecord& record) {
  report.Add("Extension", Describe(verdict.found));
  report.Add("Image", Describe(verdict.parts.image));
  report.Add("Texts", Describe(verdict.parts.texts));
  report.Add("Record", Describe(verdict.parts.record));
  if (verdict.found.state == BlockState::kPresent)
    AddMetadataRows(report, verdict.found.block, record);
}

}  // namespace

int RunVerify(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Command command;
  if (const auto done = ParseCommand(args, "verify", kVerifyHelp, command, out, err)) return *done;
  StreamSource source(command.path);
  package::PackageInfo info;
  std::string reason = source.IsOpen() && source.Size() >= 0
                           ? WhyItWouldNotStart(source, info)
                           : "the file cannot be read: " + WhyUnreadable(command.path);
  bool starts = reason.empty();
  std::optional<Verdict> verdict;
  if (starts && info.kind == package::PackageKind::kSetup) {
    try {
      verdict = CheckWholeSetupFile(source, info);
      starts = verdict->starts;
      reason = verdict->damage;
    } catch (const package::CorruptedPackage& e) {
      starts = false;
      reason = e.what();
    }
  }
  const bool sound = reason.empty();
  Report rows;
  if (verdict) {
    AddImageSizes(rows, source, info);
    AddVerdictRows(rows, *verdict, info.record);
  }
  if (command.json) {
    Report report;
    report.Add("File", command.path);
    report.Add("Starts", starts);
    report.Add("Kind", std::string(reason.empty() || verdict ? KindName(info.kind) : ""));
    report.Add("Intact", sound);
    report.Add("Reason", reason);
    report.PrintJson(out, rows);
  } else {
    out << command.path << ": ";
    if (sound)
      out << "would start as "
          << (info.kind == package::PackageKind::kSetup ? "a setup file" : "an uninstaller");
    else
      out << (starts ? "" : "would not start: ") << reason;
    out << "\n";
    rows.PrintLines(out);
  }
  return sound ? kExitOk : kExitFailed;
}

}  // namespace scrpack
