#include "scrpack/inspect_command.h"

#include <optional>

#include "package/errors.h"
#include "package/package_reader.h"
#include "package/pe_image.h"
#include "package/pe_signature.h"
#include "package/sections.h"
#include "scrpack/ansi_text.h"
#include "scrpack/input_file.h"
#include "scrpack/report.h"
#include "scrpack/scrpack.h"
#include "scrpack/stream_source.h"

namespace scrpack {

const char kInspectHelp[] =
    "scrpack inspect [--json] FILE\n"
    "  Shows the settings and the positions of the sections of a setup file or an uninstaller,\n"
    "  one 'Name: value' line each (--json: one JSON object), and whether the file carries a\n"
    "  code signature (Authenticode certificate table). Fails when FILE holds no package.\n";

const char kVerifyHelp[] =
    "scrpack verify [--json] FILE\n"
    "  Applies the checks the setup program makes when it starts (the package marker at the end,\n"
    "  the sizes and sections, the record marker of an uninstaller) and says in one line whether\n"
    "  FILE would start. Exit status 0 when it would, 1 when not.\n";

namespace {

// Texts in a package are ANSI; JSON output shows them as the Western European code page does.
constexpr int kShownCodePage = 1252;

struct Command {
  bool json = false;
  std::string path;
};

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

std::string Shown(const std::string& ansi) {
  return AnsiToUtf8(ansi, *CodePage::Find(kShownCodePage));
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
    report.Add("CertificateTable", CarriesCertificate(source));
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

int RunVerify(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Command command;
  if (const auto done = ParseCommand(args, "verify", kVerifyHelp, command, out, err)) return *done;
  StreamSource source(command.path);
  package::PackageInfo info;
  const std::string reason = source.IsOpen() && source.Size() >= 0
                                 ? WhyItWouldNotStart(source, info)
                                 : "the file cannot be read: " + WhyUnreadable(command.path);
  const bool starts = reason.empty();
  if (command.json) {
    Report report;
    report.Add("File", command.path);
    report.Add("Starts", starts);
    report.Add("Kind", std::string(starts ? KindName(info.kind) : ""));
    report.Add("Reason", reason);
    report.PrintJson(out);
  } else if (starts) {
    out << command.path << ": would start as "
        << (info.kind == package::PackageKind::kSetup ? "a setup file" : "an uninstaller") << "\n";
  } else {
    out << command.path << ": would not start: " << reason << "\n";
  }
  return starts ? kExitOk : kExitFailed;
}

}  // namespace scrpack
