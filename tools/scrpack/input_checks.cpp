#include "scrpack/input_checks.h"

#include <algorithm>
#include <optional>
#include <set>
#include <vector>

#include "language/language_text.h"
#include "language/translated_texts.h"
#include "language/translation.h"
#include "package/package_end.h"
#include "package/pe_image.h"
#include "package/pe_signature.h"
#include "package/read_source.h"
#include "package/settings_record.h"
#include "scrpack/input_file.h"
#include "scrpack/nearest_name.h"
#include "text/ascii_case.h"
#include "text/folder_names.h"
#include "text/path_parts.h"
#include "integration/saver_file_name.h"

namespace scrpack {
namespace {

constexpr char kWarning[] = "scrpack build: warning: ";
constexpr char kNote[] = "scrpack build: ";
constexpr char kZipMagic[] = "PK\x03\x04";
constexpr char kNotInFileNames[] = "\\/:*?\"<>|";

const uint8_t* Bytes(const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }

std::string Describe(uint16_t machine) {
  if (machine == package::kMachineI386) return "32-bit (i386)";
  if (machine == package::kMachineAmd64) return "64-bit (x86-64)";
  return "machine type " + std::to_string(machine);
}

bool Holds(const std::string& bytes, std::size_t end, const char* text, std::size_t length) {
  return std::search(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(end), text,
                     text + length) != bytes.begin() + static_cast<std::ptrdiff_t>(end);
}

bool EndsWithScr(const std::string& name) {
  if (name.size() < 4) return false;
  std::string tail = name.substr(name.size() - 4);
  for (char& c : tail) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  return tail == ".scr";
}

// Any line that starts another section ends the Setup section, an empty line or a note among the
// entries included; the entries behind it, up to the next "Setup" line, are not read. One warning
// per such line, and one when no line starts the section at all.
void WarnAboutSectionEnds(const std::string& where, const std::string& languageText,
                          const CodePage& page, std::ostream& warnings) {
  struct Run {
    std::size_t header;
    std::string text;
    std::size_t entries = 0, first = 0, last = 0;
  };
  std::vector<Run> runs;
  std::optional<Run> open;  // since the line that ended the section
  std::vector<std::string> headers;
  bool inSection = false, seenSection = false;
  language::ForEachLanguageLine(languageText, [&](const language::LanguageLine& line) {
    if (!line.startsSection) {
      if (open && open->entries++ == 0) open->first = line.number;
      if (open) open->last = line.number;
      return;
    }
    headers.emplace_back(line.section);
    const bool starts = line.section == language::kSetupSection;
    if (inSection && !starts) open = Run{line.number, std::string(line.section)};
    if (starts && open) runs.push_back(*open), open.reset();
    inSection = starts;
    seenSection = seenSection || starts;
  });
  if (open) runs.push_back(*open);
  for (const Run& run : runs) {
    if (run.entries == 0) continue;
    const std::string what =
        run.text.empty() ? "is empty" : "('" + AnsiToUtf8(run.text, page) + "') has no '='";
    const std::string lost =
        run.entries == 1 ? "the entry on line " + std::to_string(run.first)
                         : "the " + std::to_string(run.entries) + " entries on lines " +
                               std::to_string(run.first) + " to " + std::to_string(run.last);
    warnings << kWarning << where << " line " << run.header << " " << what
             << ", so it ends the Setup section: " << lost << (run.entries == 1 ? " is" : " are")
             << " not used (keep notes and empty lines above the Setup line)\n";
  }
  if (seenSection || languageText.empty()) return;
  warnings << kWarning << where << ": no line reads exactly Setup, so none of its entries is used";
  for (const std::string& header : headers) {
    if (!DidYouMean(header, {language::kSetupSection}).empty() ||
        text::LowerAsciiLetters(text::TrimBlanks(header)).find("setup") != std::string::npos) {
      warnings << " (line '" << AnsiToUtf8(header, page)
               << "' comes close; the line must read Setup, nothing more)";
      break;
    }
  }
  warnings << "\n";
}

// The file name as start-up leaves it on Windows 2000 and later.
std::string ShortenedFileName(const std::string& fileName) {
  package::SettingsRecord record;
  record.SetScreensaverFileName(fileName);
  integration::ShortenSaverFileName(record);
  return record.ScreensaverFileName();
}

}  // namespace

uint16_t CheckSaver(const std::string& where, const std::string& path, const std::string& header,
                    int64_t size) {
  const std::string what = where + ": " + Quoted(path);
  if (size == 0) throw UsageError(what + " is empty; a screen saver is a Windows program (.scr)");
  if (header.compare(0, 4, kZipMagic) == 0)
    throw UsageError(what + " is a zip archive; give the .scr file itself");
  package::PeKind kind;
  if (!package::ReadPeKind(Bytes(header), header.size(), kind))
    throw UsageError(what +
                     " is not a Windows program; a screen saver is a Windows program (.scr)");
  if (kind.characteristics & package::kCharacteristicDll)
    throw UsageError(what + " is a DLL; a screen saver is a Windows program (.scr)");
  if (kind.subsystem != package::kSubsystemWindowsGui)
    throw UsageError(what + " is not a Windows GUI program (subsystem " +
                     std::to_string(kind.subsystem) + "); a screen saver is one");
  return kind.machine;
}

uint16_t CheckStub(const std::string& where, const std::string& path, const std::string& stub) {
  const std::string what = where + ": " + Quoted(path);
  package::PeKind kind;
  if (!package::ReadPeKind(Bytes(stub), stub.size(), kind) ||
      kind.subsystem != package::kSubsystemWindowsGui)
    throw UsageError(what + " is not a setup stub: it is not a Windows GUI program");
  const std::size_t probe =
      stub.size() < package::kPeHeaderProbe ? stub.size() : package::kPeHeaderProbe;
  const int64_t imageEnd = package::PeImageEnd(Bytes(stub), probe);
  const std::size_t programEnd = imageEnd > 0 && imageEnd <= int64_t(stub.size())
                                     ? static_cast<std::size_t>(imageEnd)
                                     : stub.size();
  if (!Holds(stub, programEnd, package::kSetupSignature, package::kSignatureSize) ||
      !Holds(stub, programEnd, package::kUninstallSignature, package::kSignatureSize))
    throw UsageError(what + " is not our setup stub (a screen saver or another program?)");
  package::MemoryReadSource source(stub);
  if (package::FindPackageEnd(source))
    throw UsageError(
        what + " already holds a package: it is a setup file or an uninstaller, not the bare stub");
  if (package::HasCertificateEntry(Bytes(stub), probe))
    throw UsageError(what +
                     " is signed; give the unsigned stub and sign the setup file scrpack writes");
  if (programEnd != stub.size())
    throw UsageError(what + " has " + std::to_string(stub.size() - programEnd) +
                     " bytes appended behind the program; give the stub as built");
  return kind.machine;
}

void CheckPlaceholders(const std::string& where, const std::string& folder) {
  const std::string windows = package::kWindowsPlaceholder;
  const std::string programFiles = package::kProgramFilesPlaceholder;
  std::string rest = folder;
  for (const std::string& known : {windows, programFiles})
    rest = language::ReplaceAll(rest, known, "");
  const std::size_t open = rest.find_first_of("<>");
  if (open == std::string::npos) return;
  const std::size_t close = rest.find('>', open);
  const std::string found = rest[open] == '<' && close != std::string::npos
                                ? rest.substr(open, close - open + 1)
                                : rest.substr(open, 1);
  throw UsageError(where + ": unknown placeholder '" + found + "'; only " + windows + " and " +
                   programFiles + " are filled in");
}

void CheckFolderName(const std::string& where, const std::string& folder, bool subfolder,
                     const CodePage& page) {
  // Checked as setup will see it: the placeholders filled in, the subfolder below a folder.
  std::string path = language::ReplaceAll(folder, package::kWindowsPlaceholder, "C:\\Windows");
  path = language::ReplaceAll(path, package::kProgramFilesPlaceholder, "C:\\Program Files");
  if (subfolder) path = "C:\\Folder\\" + path;
  if (text::IsCreatableFolderPath(path)) return;
  throw UsageError(where + " '" + AnsiToUtf8(folder, page) +
                   "' is no folder Windows can create: it holds a ':' other than the drive's, one"
                   " of * ? \" < > |, a control character, or a device name such as CON");
}

void CheckFileName(const std::string& where, const std::string& fileName, const CodePage& page) {
  if (text::PlainFileName(fileName).empty())
    throw UsageError(where + " '" + AnsiToUtf8(fileName, page) +
                     "' holds no file name behind its folder part");
}

void WarnAboutFileName(const std::string& where, const std::string& fileName, const CodePage& page,
                       std::ostream& notes, std::ostream& warnings) {
  const std::string shown = "'" + AnsiToUtf8(fileName, page) + "'";
  // Setup installs the part of the name behind its last \, / or :. On Windows 2000 and later
  // start-up has shortened the name before, and that split it at \ and : only: there a / stays in
  // the name and becomes a _.
  const std::string older = text::PlainFileName(fileName);
  const std::string newer = text::PlainFileName(ShortenedFileName(fileName));
  if (older != fileName) {
    warnings << kWarning << where << " " << shown
             << " holds a folder part; setup installs the file as '" << AnsiToUtf8(newer, page)
             << "'";
    if (newer != older)
      warnings << " on Windows 2000 and later and as '" << AnsiToUtf8(older, page)
               << "' on older Windows,";
    warnings << " in the folder the user chooses\n";
  }
  if (!EndsWithScr(fileName))
    warnings << kWarning << where << " " << shown
             << " does not end in .scr; Windows lists only .scr files as screen savers\n";
  if (newer != older && older == fileName)
    notes << kNote << where << " " << shown << " installs as " << AnsiToUtf8(newer, page)
          << " on Windows 2000 and later, where setup shortens names (keep to "
          << integration::kShortStemLength << " letters and digits before .scr to avoid it)\n";
}

void WarnAboutTitle(const std::string& where, const std::string& title, bool isSubfolder,
                    std::ostream& err) {
  for (char c : title) {
    if (static_cast<unsigned char>(c) >= 32 && !std::char_traits<char>::find(kNotInFileNames, 9, c))
      continue;
    const std::string shown =
        static_cast<unsigned char>(c) < 32 ? "a control character" : std::string("'") + c + "'";
    err << kWarning << where << " holds " << shown
        << ", which a file name cannot hold: the readme, the"
        << " shortcuts and the uninstall entry named after the title may not be created"
        << (isSubfolder && !text::IsCreatableFolderPath("C:\\Folder\\" + title)
                ? ", nor the default folder, which is named after it (give --default-subfolder)"
                : "")
        << "\n";
    return;
  }
}

void NoteAboutSystemFolder(const package::SettingsRecord& record, uint16_t stubMachine,
                           std::ostream& notes) {
  const std::string folder = text::LowerAsciiLetters(text::WithoutTrailingBackslashes(
      text::WithTrailingBackslash(text::TrimBlanks(record.DefaultFolder())) +
      text::TrimBlanks(record.DefaultSubfolder())));
  const std::string windows = package::kWindowsPlaceholder;
  const std::string system = text::LowerAsciiLetters(windows) + "\\system32";
  if (folder != system && folder.rfind(system + "\\", 0) != 0) return;
  notes << kNote << "the default folder is in " << windows << "\\System32: on 64-bit Windows "
        << (stubMachine == package::kMachineI386 ? "this 32-bit stub installs into " + windows +
                                                       "\\SysWOW64 instead, as Windows redirects it"
                                                 : std::string("this 64-bit stub installs there"))
        << "; " << windows << " itself is never redirected\n";
}

void WarnAboutBitness(uint16_t saverMachine, uint16_t stubMachine, std::ostream& err) {
  if (saverMachine == stubMachine) return;
  err << kWarning << "the screen saver is a " << Describe(saverMachine)
      << " program but the stub a " << Describe(stubMachine)
      << " one; pair them so the saver runs wherever the setup does\n";
}

void WarnAboutLanguage(const std::string& where, const std::string& languageText,
                       const CodePage& page, std::ostream& notes, std::ostream& warnings) {
  const std::vector<std::string> ours = language::TranslatedTexts();
  const std::set<std::string> known(ours.begin(), ours.end());
  std::set<std::string> translated;
  for (const language::TranslationEntry& entry :
       language::ReadTranslationEntries(languageText, language::kSetupSection)) {
    if (known.count(entry.key)) {
      translated.insert(entry.key);
      continue;
    }
    warnings << kWarning << where << " line " << entry.line << ": '" << AnsiToUtf8(entry.key, page)
             << "' is not a text of ours" << DidYouMean(entry.key, ours) << "\n";
  }
  WarnAboutSectionEnds(where, languageText, page, warnings);

  notes << kNote << where << ": " << translated.size() << " of " << ours.size()
        << " texts translated";
  if (translated.empty()) {
    notes << "; every text stays English\n";
    return;
  }
  if (translated.size() == ours.size()) {
    notes << "\n";
    return;
  }
  notes << "; these " << ours.size() - translated.size() << " stay English:\n";
  for (const std::string& text : ours)
    if (!translated.count(text)) notes << "  " << text << "\n";
}

}  // namespace scrpack
