#include "scrpack/inspect_command.h"

#include "package/errors.h"
#include "package/sections.h"
#include "scrpack/scrpack.h"
#include "scrpack/stream_source.h"

namespace scrpack {

const char kInspectHelp[] =
    "scrpack inspect FILE\n"
    "  Shows the settings and the positions of the sections of a setup file or an uninstaller,\n"
    "  one 'Name: value' line each. Fails when FILE holds no package.\n";

namespace {

const char* YesNo(bool flag) { return flag ? "yes" : "no"; }

void Line(std::ostream& out, const char* name, const std::string& value) { out << name << ": " << value << "\n"; }
void Line(std::ostream& out, const char* name, int64_t value) { out << name << ": " << value << "\n"; }

void PrintRecord(const package::SettingsRecord& r, std::ostream& out) {
  Line(out, "PackageSize", r.PackageSize());
  Line(out, "ScreensaverFileName", r.ScreensaverFileName());
  Line(out, "Title", r.Title());
  Line(out, "LinkText", r.LinkText());
  Line(out, "AddUninstallEntry", YesNo(r.AddUninstallEntry()));
  Line(out, "AddStartMenuGroup", YesNo(r.AddStartMenuGroup()));
  Line(out, "AddDesktopShortcut", YesNo(r.AddDesktopShortcut()));
  Line(out, "TextsSize", r.TextsSize());
  Line(out, "ReadmeSize", r.ReadmeSize());
  Line(out, "LicenseSize", r.LicenseSize());
  Line(out, "LanguageSize", r.LanguageSize());
  Line(out, "DefaultFolder", r.DefaultFolder());
  Line(out, "DefaultSubfolder", r.DefaultSubfolder());
  Line(out, "SkipFolderPage", YesNo(r.SkipFolderPage()));
  Line(out, "RecordMarker", r.RecordMarker());
}

void PrintSections(const package::PackageInfo& info, std::ostream& out) {
  const int64_t end = info.packageEnd;
  const auto& r = info.record;
  if (info.kind == package::PackageKind::kSetup) {
    Line(out, "StubLength", package::StubLength(end, r));
    Line(out, "ImageStart", package::ImageStart(end, r));
    Line(out, "ImageLength", package::ImageLength(r));
  } else {
    // An uninstaller's record keeps the setup file's PackageSize; its stub ends where the texts begin.
    Line(out, "StubLength", package::TextsStart(end, r));
  }
  Line(out, "TextsStart", package::TextsStart(end, r));
  Line(out, "ReadmeStart", package::ReadmeStart(end, r));
  Line(out, "LicenseStart", package::LicenseStart(end, r));
  Line(out, "LanguageStart", package::LanguageStart(end, r));
  Line(out, "RecordStart", package::RecordStart(end));
  Line(out, "SignatureStart", package::SignatureStart(end));
  Line(out, "FileSize", info.fileSize);
  Line(out, "TrailingBytes", info.fileSize - end);
}

}  // namespace

void PrintPackage(const package::PackageInfo& info, std::ostream& out) {
  Line(out, "Kind", info.kind == package::PackageKind::kSetup ? "setup" : "uninstaller");
  Line(out, "PackageEnd", info.packageEnd);
  Line(out, "Signature", info.signature);
  PrintRecord(info.record, out);
  PrintSections(info, out);
}

int RunInspect(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    out << kInspectHelp;
    return kExitOk;
  }
  if (args.size() != 1) {
    err << "scrpack inspect: expects exactly one file\n" << kInspectHelp;
    return kExitUsage;
  }
  const std::string& path = args[0];
  StreamSource source(path);
  if (!source.IsOpen() || source.Size() < 0) {
    err << "scrpack inspect: cannot read '" << path << "'\n";
    return kExitFailed;
  }
  try {
    PrintPackage(package::ReadPackage(source), out);
    return kExitOk;
  } catch (const package::CorruptedPackage& e) {
    err << "scrpack inspect: '" << path << "': " << e.what() << "\n";
    return kExitFailed;
  }
}

}  // namespace scrpack
