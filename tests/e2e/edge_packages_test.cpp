// Setup files at the edges of what a package can hold, and damaged ones, made here from the real
// stub and run under Wine: each installs completely or ends with its message, never anything in
// between, and never a crash.
#include <gtest/gtest.h>

#include "support/e2e_support.h"  // <windows.h> first

#include <shlobj.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "support/setup_file.h"
#include "ui/wizard_controls.h"

namespace {

using e2e::FolderEntries;

using e2e::Join;
using e2e::Quote;
using e2e::RunSilent;
using e2e::kAppTitle;
using e2e::kCorrupted;
using e2e::kSaverKeyRoot;

constexpr char kSaverName[] = "edge.scr";
constexpr DWORD kExitUnreadable = 1;
constexpr DWORD kExitStoppedUnchanged = 2;
constexpr int kPageDirectory = 1;
constexpr std::size_t kTrailer = 942;

// Bytes that are no program (the shell would start a real one instead of recording it).
std::string Image(std::size_t size) {
  std::string image(size, '\0');
  for (std::size_t i = 0; i < size; ++i) image[i] = static_cast<char>('!' + (i * 7 + i / 300) % 90);
  return image;
}

support::SetupContents Contents(const std::string& title) {
  support::SetupContents c;
  c.image = Image(150000);
  c.coded = true;  // as scrpack writes it; the stub copies only a program file as it stands
  c.record.SetScreensaverFileName(kSaverName);
  c.record.SetTitle(title);
  c.record.SetDefaultFolder("<Program Files>");
  c.record.SetDefaultSubfolder(title);
  return c;
}

bool PageShowing(HWND wizard, int page) {
  HWND pageWindow = e2e::ChildById(wizard, ui::PageChildId(page));
  return pageWindow && IsWindowVisible(pageWindow);
}

// A button press that does not wait for its handler, which may show a modal box.
void Press(HWND wizard, int id) {
  PostMessageA(wizard, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(e2e::ChildById(wizard, id)));
}

// Answers the one box the process shows, which must be the corrupted-file message, and waits
// for the process to end without any other window.
void ExpectCorruptedBoxThenEnd(e2e::Process& process) {
  const auto box = e2e::WaitForMessageBox(process);
  ASSERT_TRUE(box) << "no message box";
  EXPECT_EQ(box->caption, kAppTitle);
  EXPECT_EQ(box->text, kCorrupted);
  EXPECT_TRUE(box->hasIcon);
  ASSERT_EQ(box->buttons.size(), 1u);
  EXPECT_EQ(e2e::TopLevelWindows(process.Id()).size(), 1u) << "only the box may show";
  ASSERT_TRUE(e2e::ClickButton(box->window, box->buttons[0].first));
  EXPECT_TRUE(process.WaitForExit()) << "the program did not end";
  EXPECT_EQ(process.ExitCode(), kExitUnreadable);
}

// ---- sizes at the edges, installed unattended

struct EdgeCase {
  const char* name;
  std::function<void(support::SetupContents&)> shape;
  // Everything the folder must hold afterwards besides the uninstaller, with its exact bytes.
  std::vector<std::pair<std::string, std::string>> files;
  std::string uninstallerName = "uninstall edge.exe";
};

const std::string kTitle32 = "Edge Title Of Thirty-Two Letters";

// Hundreds of entries in front of the three words that name files, so that a table that keeps
// only the first few would show.
std::string LongLanguageText() {
  std::string text = "Setup\r\n";
  for (int i = 0; i < 600; ++i) text += "Phrase " + std::to_string(i) + "=Traduction " + std::to_string(i) + "\r\n";
  text += "Uninstall=D\xE9sinstaller\r\nReadme=Lisez-moi\r\nPreview=Aper\xE7u\r\n";
  return text;
}

TEST(EdgePackages, SizesAtTheEdgesInstallCompletely) {
  ASSERT_EQ(kTitle32.size(), 32u);
  const std::vector<EdgeCase> cases = {
      {"image of 0 bytes", [](support::SetupContents& c) { c.image.clear(); }, {{kSaverName, ""}}},
      {"texts but no image",
       [](support::SetupContents& c) {
         c.image.clear();
         c.readme = "First line\r\nSecond line";
         c.license = "Terms.";
         c.language = "Setup\r\nNext=Weiter\r\n";
       },
       {{kSaverName, ""}, {"Edge Readme.txt", "First line\r\nSecond line\r\n"}}},
      {"title of 32 characters without NUL",
       [](support::SetupContents& c) {
         c.record.SetTitle(kTitle32);
         c.readme = "x";
       },
       {{kSaverName, Image(150000)}, {kTitle32 + " Readme.txt", "x\r\n"}}},
      {"readme with CR-only lines and no final line break",
       [](support::SetupContents& c) { c.readme = "one\rtwo\r\rfour"; },
       {{kSaverName, Image(150000)}, {"Edge Readme.txt", "one\r\ntwo\r\n\r\nfour\r\n"}}},
      {"hundreds of translations naming the files",
       [](support::SetupContents& c) {
         c.language = LongLanguageText();
         c.readme = "Lisez.";
       },
       {{kSaverName, Image(150000)}, {"Edge Lisez-moi.txt", "Lisez.\r\n"}},
       "d\xE9sinstaller edge.exe"},
  };
  const std::string stub = e2e::StubBytes();
  const std::string scratch = e2e::ScratchFolder();
  int n = 0;
  for (const EdgeCase& c : cases) {
    SCOPED_TRACE(c.name);
    support::SetupContents contents = Contents("Edge");
    c.shape(contents);
    const std::string title = contents.record.Title();
    const std::string folder = Join(scratch, "case" + std::to_string(++n));
    const std::string setup =
        e2e::WriteSetupFile(scratch, "setup" + std::to_string(n) + ".exe", support::AssembleSetupFile(stub, contents));

    ASSERT_EQ(RunSilent(setup, folder), 0u);

    std::vector<std::string> expectedNames{c.uninstallerName};
    for (const auto& file : c.files) {
      expectedNames.push_back(file.first);
      EXPECT_EQ(e2e::ReadFileBytes(Join(folder, file.first)), file.second) << file.first;
    }
    std::sort(expectedNames.begin(), expectedNames.end());
    EXPECT_EQ(FolderEntries(folder), expectedNames);
    // The uninstaller: the stub, the texts, the record and its signature; no image.
    const auto uninstaller = e2e::ReadFileBytes(Join(folder, c.uninstallerName));
    ASSERT_TRUE(uninstaller);
    const std::size_t texts = contents.readme.size() + contents.license.size() + contents.language.size();
    EXPECT_EQ(uninstaller->size(), stub.size() + texts + kTrailer);
    EXPECT_EQ(uninstaller->substr(uninstaller->size() - 10), "ScUnin.sig");
    EXPECT_EQ(e2e::ReadRegString(HKEY_CURRENT_USER, kSaverKeyRoot + title, "FileName_"), Join(folder, kSaverName));
    // The same uninstaller removes them again, finding the translated names by itself.
    if (c.uninstallerName != "uninstall edge.exe") {
      e2e::Process process = e2e::StartProcess(Quote(Join(folder, c.uninstallerName)));
      ASSERT_TRUE(process.Started());
      const auto box = e2e::WaitForMessageBox(process, title + " D\xE9sinstaller");
      ASSERT_TRUE(box) << "no confirmation with the translated caption";
      // No keeps everything: this checks the caption only, the removal is another file's matter.
      EXPECT_TRUE(e2e::ClickButton(box->window, IDNO));
      EXPECT_TRUE(process.WaitForExit());
    }
  }
}

TEST(EdgePackages, TranslatedPreviewNamesTheDesktopShortcut) {
  support::SetupContents contents = Contents("Edge Preview");
  contents.language = LongLanguageText();
  contents.record.SetAddDesktopShortcut(true);
  const std::string scratch = e2e::ScratchFolder();
  const std::string folder = Join(scratch, "target");
  ASSERT_EQ(RunSilent(e2e::WriteSetupFile(scratch, "setup.exe", e2e::SetupFileBytes(contents)), folder), 0u);

  char desktop[MAX_PATH + 1] = {};
  ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE));
  const auto link = e2e::ReadShellLink(Join(desktop, "Aper\xE7u Edge Preview.lnk"));
  ASSERT_TRUE(link) << "no shortcut under the translated name";
  EXPECT_TRUE(e2e::SamePath(link->target, Join(folder, kSaverName))) << link->target;
  EXPECT_FALSE(e2e::FileExists(Join(desktop, "Preview Edge Preview.lnk")));
}

// A default folder that cannot be made: folder and subfolder of 250 characters each, together far
// beyond what a path may hold; or a subfolder with a colon, which names no folder (splitting the
// path at it once recursed without end).
struct UnusableDefault {
  std::string title, setup, expectedFolderText;
};

UnusableDefault MakeUnusableDefault(const std::string& scratch, const std::string& title, const std::string& folder,
                                    const std::string& subfolder) {
  support::SetupContents contents = Contents(title);
  contents.record.SetDefaultFolder(folder);
  contents.record.SetDefaultSubfolder(subfolder);
  EXPECT_EQ(contents.record.DefaultFolder(), folder);
  EXPECT_EQ(contents.record.DefaultSubfolder(), subfolder);
  return {title, e2e::WriteSetupFile(scratch, "setup " + title + ".exe", e2e::SetupFileBytes(contents)),
          folder + "\\" + subfolder + "\\"};
}

TEST(EdgePackages, UnusableDefaultFolderEndsWithTheFolderMessage) {
  const std::string scratch = e2e::ScratchFolder();
  std::string longFolder = Join(scratch, "f");
  longFolder += std::string(250 - longFolder.size(), 'f');
  const UnusableDefault setups[] = {
      MakeUnusableDefault(scratch, "Edge Long", longFolder, std::string(250, 's')),
      MakeUnusableDefault(scratch, "Edge Colon", Join(scratch, "Colon"), "Star:field"),
  };
  for (const UnusableDefault& setup : setups) {
    SCOPED_TRACE(setup.title);
    // Unattended: the default folder is used, cannot be made, and nothing is written.
    EXPECT_EQ(RunSilent(setup.setup), kExitStoppedUnchanged);
    EXPECT_FALSE(e2e::FileExists(setup.expectedFolderText + kSaverName));
    EXPECT_FALSE(e2e::ReadRegString(HKEY_CURRENT_USER, std::string(kSaverKeyRoot) + setup.title, "FileName_"));

    // Through the wizard: the whole text is offered, Install gives the folder message, and the
    // folder page comes back with the text unchanged for the user to correct.
    e2e::Process process = e2e::StartProcess(Quote(setup.setup));
    ASSERT_TRUE(process.Started());
    const HWND wizard = e2e::WaitForWindow(process, "TSCRSetup");
    ASSERT_TRUE(wizard);
    ASSERT_TRUE(e2e::WaitFor([&] { return PageShowing(wizard, kPageDirectory); }));
    HWND edit = e2e::ChildById(wizard, ui::child::edDirectory);
    EXPECT_EQ(e2e::TextOf(edit), setup.expectedFolderText);
    Press(wizard, ui::child::btnNext);
    const auto box = e2e::WaitForMessageBox(process, kAppTitle);
    ASSERT_TRUE(box) << "no message";
    EXPECT_EQ(box->text, "Unable to create the directory. Please select a different directory.");
    EXPECT_TRUE(box->hasIcon);
    ASSERT_TRUE(e2e::ClickButton(box->window, box->buttons.at(0).first));
    EXPECT_TRUE(e2e::WaitFor([&] { return PageShowing(wizard, kPageDirectory); }));
    EXPECT_TRUE(e2e::WaitFor([&] { return IsWindowVisible(e2e::ChildById(wizard, ui::child::btnNext)) != FALSE; }));
    EXPECT_EQ(e2e::TextOf(edit), setup.expectedFolderText);
    EXPECT_FALSE(e2e::FileExists(setup.expectedFolderText + kSaverName));

    // Corrected, the same run installs completely.
    const std::string folder = Join(scratch, "corrected " + setup.title);
    DWORD_PTR result = 0;
    ASSERT_TRUE(SendMessageTimeoutA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()), SMTO_ABORTIFHUNG,
                                    10000, &result));
    Press(wizard, ui::child::btnNext);
    ASSERT_TRUE(process.WaitForExit()) << "the wizard stayed open";
    EXPECT_EQ(FolderEntries(folder), (std::vector<std::string>{kSaverName, "uninstall edge.exe"}));
  }
  EXPECT_FALSE(e2e::FolderExists(Join(scratch, "Colon"))) << "nothing of a folder Windows cannot create is made";
}

TEST(EdgePackages, FullWidthTitleInTheCaptionAndCrOnlyReadmeOnItsPage) {
  support::SetupContents contents = Contents("Edge");
  contents.record.SetTitle(kTitle32);
  contents.readme = "one\rtwo\rthree";
  const std::string scratch = e2e::ScratchFolder();
  const std::string folder = Join(scratch, "target");
  e2e::Process process = e2e::StartProcess(Quote(e2e::WriteSetupFile(scratch, "setup.exe", e2e::SetupFileBytes(contents))));
  ASSERT_TRUE(process.Started());
  const HWND wizard = e2e::WaitForWindow(process, "TSCRSetup");
  ASSERT_TRUE(wizard);
  EXPECT_EQ(e2e::TextOf(wizard), kTitle32 + " Setup");
  ASSERT_TRUE(e2e::WaitFor([&] { return PageShowing(wizard, kPageDirectory); }));
  DWORD_PTR result = 0;
  ASSERT_TRUE(SendMessageTimeoutA(e2e::ChildById(wizard, ui::child::edDirectory), WM_SETTEXT, 0,
                                  reinterpret_cast<LPARAM>(folder.c_str()), SMTO_ABORTIFHUNG, 10000, &result));
  Press(wizard, ui::child::btnNext);
  constexpr int kPageReadme = 4;
  ASSERT_TRUE(e2e::WaitFor([&] { return PageShowing(wizard, kPageReadme); })) << "no readme page";
  // Every lone CR became a line of its own in the memo.
  const std::string shown = e2e::TextOf(e2e::ChildById(wizard, ui::child::edReadme));
  EXPECT_EQ(shown, "one\r\ntwo\r\nthree");
  EXPECT_EQ(e2e::ReadFileBytes(Join(folder, kTitle32 + " Readme.txt")), "one\r\ntwo\r\nthree\r\n");
  constexpr int kPageFinished = 5;
  Press(wizard, ui::child::btnNext);
  ASSERT_TRUE(e2e::WaitFor([&] { return PageShowing(wizard, kPageFinished); })) << "no finished page";
  Press(wizard, ui::child::btnNext);
  EXPECT_TRUE(process.WaitForExit());
}

// ---- damaged files

TEST(DamagedFiles, CutOffDownloadsInstallNothing) {
  support::SetupContents contents = Contents("Edge Cut");
  contents.readme = std::string(5000, 'r');
  contents.language = "Setup\r\nNext=Weiter\r\n";
  const std::string whole = e2e::SetupFileBytes(contents);
  const std::size_t texts = contents.readme.size() + contents.language.size();
  // The image as the file carries it: coded, shorter than the screen saver.
  const std::size_t image = whole.size() - e2e::StubBytes().size() - texts - kTrailer;
  struct Cut {
    const char* name;
    std::size_t missing;
  };
  const Cut cuts[] = {
      {"inside the signature", 4},
      {"inside the record", 500},
      {"inside the texts", kTrailer + texts / 2},
      {"inside the image", kTrailer + texts + image / 2},
      {"right behind the stub", kTrailer + texts + image},
  };
  const std::string scratch = e2e::ScratchFolder();
  for (const Cut& cut : cuts) {
    SCOPED_TRACE(cut.name);
    const std::string setup = e2e::WriteSetupFile(scratch, "setup.exe", whole.substr(0, whole.size() - cut.missing));
    const std::string folder = Join(scratch, "never");
    EXPECT_EQ(RunSilent(setup, folder), kExitUnreadable);
    EXPECT_FALSE(e2e::FolderExists(folder));
  }

  // Interactively: one box, no wizard, nothing made.
  const std::string setup = e2e::WriteSetupFile(scratch, "cut.exe", whole.substr(0, whole.size() - cuts[3].missing));
  e2e::Process process = e2e::StartProcess(Quote(setup));
  ASSERT_TRUE(process.Started());
  ExpectCorruptedBoxThenEnd(process);
  EXPECT_FALSE(e2e::ReadRegString(HKEY_CURRENT_USER, std::string(kSaverKeyRoot) + "Edge Cut", "FileName_"));
}

// Changed bytes anywhere in the package, or a cut-off end, as a bad download or disk gives them:
// every run ends by itself with a documented code and no window (a crash would end with another
// code, or hang in the crash dialog), and a run that does not install leaves nothing behind.
TEST(DamagedFiles, RandomDamageEndsWithADocumentedCodeAndNothingLeftBehind) {
  support::SetupContents contents = Contents("Edge Random");
  contents.readme = std::string(3000, 'r');
  contents.language = "Setup\r\nNext=Weiter\r\n";
  contents.record.SetAddUninstallEntry(true);
  contents.record.SetAddDesktopShortcut(true);
  const std::string stub = e2e::StubBytes();
  const std::string whole = support::AssembleSetupFile(stub, contents);
  const std::size_t packageSize = whole.size() - stub.size();
  const std::size_t tailSize = kTrailer + contents.readme.size() + contents.language.size();
  uint32_t state = 20261208;  // fixed: a failure can be run again
  auto next = [&state](uint32_t bound) {
    state = state * 1103515245u + 12345u;
    return (state >> 8) % bound;
  };
  const std::string scratch = e2e::ScratchFolder();
  for (int run = 0; run < 24; ++run) {
    std::string bytes = whole;
    std::string damage;
    if (run % 4 == 3) {
      bytes.resize(whole.size() - 1 - next(uint32_t(packageSize)));
      damage = "cut to " + std::to_string(bytes.size());
    } else {
      for (uint32_t edits = 1 + next(6); edits > 0; --edits) {
        // Mostly the record and the texts, where the sizes and names are; the image as well.
        const std::size_t fromEnd = next(2) ? next(uint32_t(tailSize)) : next(uint32_t(packageSize));
        const std::size_t at = whole.size() - 1 - fromEnd;
        bytes[at] = static_cast<char>(bytes[at] ^ (1 + next(255)));
        damage += std::to_string(at) + " ";
      }
    }
    SCOPED_TRACE("run " + std::to_string(run) + ": " + damage);
    const std::string folder = Join(scratch, "random" + std::to_string(run));
    const auto code = RunSilent(e2e::WriteSetupFile(scratch, "random" + std::to_string(run) + ".exe", bytes), folder);
    ASSERT_TRUE(code.has_value()) << "the program did not end";
    EXPECT_LE(*code, 3u);
    EXPECT_EQ(e2e::FolderExists(folder), *code == 0);
  }
}

std::optional<DWORD> ReadRegDword(const std::string& path, const char* name) {
  DWORD value = 0, size = sizeof value;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, path.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
    return std::nullopt;
  return value;
}

// A setup file that carries its checksums: one flipped byte in the image, the texts or the record
// installs nothing (the image is found out while it is copied, after the folder was made), and
// the intact file installs with the entry the block describes. The block, which says not to hand
// the saver to the shell, damaged or cut off, installs nothing either: its record announces it.
TEST(DamagedFiles, AByteThatDiffersFromItsChecksumInstallsNothing) {
  support::SetupContents contents = Contents("Edge Sums");
  contents.readme = std::string(3000, 'r');
  contents.language = "Setup\r\nNext=Weiter\r\n";
  contents.record.SetAddUninstallEntry(true);
  contents.record.SetLinkText("https://edge.example.org/");
  package::ExtensionBlock block;
  block.publisher = "Edge Works";
  block.version = "3.0";
  block.shellInstall = false;
  contents.extension = block;
  const std::string whole = e2e::SetupFileBytes(contents);
  const std::size_t packageEnd = whole.rfind("ZUZOri.sig") + 10;  // the stub holds the text too
  const std::size_t textsAt = packageEnd - kTrailer - contents.readme.size() - contents.language.size();
  struct Flip {
    const char* name;
    std::ptrdiff_t at;  // -1: none
    DWORD code;
    bool cut = false;  // the file ends at `at` instead
  };
  const Flip flips[] = {
      {"image", std::ptrdiff_t(textsAt - (textsAt - e2e::StubBytes().size()) / 3), 3},
      {"readme", std::ptrdiff_t(textsAt + 10), kExitUnreadable},
      {"language", std::ptrdiff_t(textsAt + contents.readme.size() + 3), kExitUnreadable},
      {"title in the record", std::ptrdiff_t(packageEnd - kTrailer + 262), kExitUnreadable},
      {"block", std::ptrdiff_t(packageEnd + 30), kExitUnreadable},
      {"block missing", std::ptrdiff_t(packageEnd), kExitUnreadable, true},
      {"intact", -1, 0},
  };
  const std::string scratch = e2e::ScratchFolder();
  const std::string entry = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Edge Sums";
  for (const Flip& flip : flips) {
    SCOPED_TRACE(flip.name);
    std::string bytes = whole;
    if (flip.cut)
      bytes.resize(std::size_t(flip.at));
    else if (flip.at >= 0)
      bytes[std::size_t(flip.at)] ^= 0x04;
    const std::string folder = Join(scratch, std::string("sums ") + flip.name);
    EXPECT_EQ(RunSilent(e2e::WriteSetupFile(scratch, "sums.exe", bytes), folder), flip.code);
    EXPECT_EQ(e2e::FolderExists(folder), flip.code == 0);
    EXPECT_EQ(e2e::ReadRegString(HKEY_LOCAL_MACHINE, entry, "DisplayName").has_value(), flip.code == 0);
  }
  EXPECT_EQ(e2e::ReadRegString(HKEY_LOCAL_MACHINE, entry, "Publisher"), "Edge Works");
  EXPECT_EQ(e2e::ReadRegString(HKEY_LOCAL_MACHINE, entry, "DisplayVersion"), "3.0");
  EXPECT_EQ(e2e::ReadRegString(HKEY_LOCAL_MACHINE, entry, "URLInfoAbout"), "https://edge.example.org/");
  EXPECT_EQ(e2e::ReadRegString(HKEY_LOCAL_MACHINE, entry, "InstallLocation"), Join(scratch, "sums intact") + "\\");
  EXPECT_EQ(ReadRegDword(entry, "NoModify"), 1u);
  EXPECT_EQ(ReadRegDword(entry, "NoRepair"), 1u);
  const auto size = ReadRegDword(entry, "EstimatedSize");
  ASSERT_TRUE(size);
  EXPECT_GE(*size * 1024, contents.image.size() + contents.readme.size() + e2e::StubBytes().size());
  // The screen saver counts as installed, not as the coded bytes the file carries; KB rounded up.
  EXPECT_LT(*size * 1024, contents.image.size() + contents.readme.size() + whole.size() + 1024);
}

TEST(DamagedFiles, SignatureOnlyInTheMiddleIsNoPackage) {
  const std::string stub = e2e::StubBytes();
  const std::string scratch = e2e::ScratchFolder();
  const std::string folder = Join(scratch, "never");
  const std::string garbage[] = {std::string(3000, 'x'), std::string(3000, '\0'), std::string(3000, '\xFF')};
  for (const std::string& front : garbage) {
    SCOPED_TRACE(int(static_cast<unsigned char>(front[0])));
    const std::string setup = e2e::WriteSetupFile(scratch, "setup.exe", stub + front + "ZUZOri.sig" + std::string(4000, 'y'));
    EXPECT_EQ(RunSilent(setup, folder), kExitUnreadable);
    EXPECT_FALSE(e2e::FolderExists(folder));
  }
  // A valid package with plain data behind it is still a package.
  support::SetupContents contents = Contents("Edge Trailing");
  const std::string setup =
      e2e::WriteSetupFile(scratch, "trailing.exe", support::AssembleSetupFile(stub, contents) + std::string(4000, 'y'));
  EXPECT_EQ(RunSilent(setup, folder), 0u);
  EXPECT_EQ(e2e::ReadFileBytes(Join(folder, kSaverName)), contents.image);
}

TEST(DamagedFiles, UninstallerWithAWrongRecordMarkerRemovesNothing) {
  const std::string scratch = e2e::ScratchFolder();
  const std::string folder = Join(scratch, "installed");
  support::SetupContents contents = Contents("Edge Marker");
  contents.readme = "Read me.";
  ASSERT_EQ(RunSilent(e2e::WriteSetupFile(scratch, "setup.exe", e2e::SetupFileBytes(contents)), folder), 0u);
  const std::string uninstaller = Join(folder, "uninstall edge.exe");
  auto bytes = e2e::ReadFileBytes(uninstaller);
  ASSERT_TRUE(bytes);
  (*bytes)[bytes->size() - kTrailer + 920] = 's';  // "sCRSet.sig"
  ASSERT_TRUE(e2e::WriteFileBytes(uninstaller, *bytes));

  // Unattended: no question, no box, nothing removed.
  EXPECT_EQ(RunSilent(uninstaller), kExitUnreadable);
  // Interactively: the corrupted-file box instead of the question.
  e2e::Process process = e2e::StartProcess(Quote(uninstaller));
  ASSERT_TRUE(process.Started());
  ExpectCorruptedBoxThenEnd(process);

  EXPECT_EQ(FolderEntries(folder),
            (std::vector<std::string>{"Edge Marker Readme.txt", kSaverName, "uninstall edge.exe"}));
  EXPECT_EQ(e2e::ReadRegString(HKEY_CURRENT_USER, std::string(kSaverKeyRoot) + "Edge Marker", "FileName_"),
            Join(folder, kSaverName));
}

}  // namespace
