// The real installation under Wine: setup files made here from the real stub, run unattended
// and through the wizard, and everything they leave on the machine read back.
#include <gtest/gtest.h>

#include "support/e2e_support.h"  // <windows.h> first

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "package/coded_image.h"
#include "support/setup_file.h"
#include "ui/wizard_controls.h"

namespace {

using e2e::SpecialFolderPath;
using e2e::FolderEntries;

using e2e::Join;
using e2e::Quote;
using e2e::RunSilent;
using e2e::kUninstallRoot;
using e2e::kSaverKeyRoot;

constexpr char kSaverName[] = "e2estars.scr";
constexpr char kUninstallerName[] = "uninstall e2estars.exe";

// Screen-saver bytes that are no program: Wine's shell starts a real program file itself instead
// of using the "install" verb, which would leave a running screen saver holding the file. The
// installation never looks inside the image, so any bytes serve.
std::string Image(char seed, std::size_t size = 370000) {
  std::string image(size, '\0');
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<char>(seed + i * 13 + (i >> 11));
  image[0] = 'S';  // not "MZ"
  return image;
}

// Bytes that do not compress, beginning otherwise than a program.
std::string Noise(std::size_t size) {
  std::string noise(size, '\0');
  uint32_t state = 20261210;
  for (char& c : noise) {
    state = state * 1103515245u + 12345u;
    c = static_cast<char>(state >> 24);
  }
  noise[0] = 'S';
  return noise;
}

struct Options {
  explicit Options(std::string title) : title(std::move(title)) {}
  std::string title;
  std::string fileName = kSaverName;
  std::string image = Image('a');
  std::string readme;
  std::string language;
  bool flags = false;
  std::string defaultFolder;
  std::string defaultSubfolder;
  bool shellInstall = true;  // false: a block that says so follows the package
};

struct SetupFile {
  std::string path;
  std::string bytes;
};

SetupFile MakeSetup(const std::string& folder, const Options& o) {
  support::SetupContents c;
  c.image = o.image;
  c.readme = o.readme;
  c.language = o.language;
  c.record.SetScreensaverFileName(o.fileName);
  c.record.SetTitle(o.title);
  support::SetFlags(c.record, {o.flags, o.flags, o.flags});
  c.record.SetDefaultFolder(o.defaultFolder);
  c.record.SetDefaultSubfolder(o.defaultSubfolder);
  if (!o.shellInstall) {
    c.extension = package::ExtensionBlock{};
    c.extension->shellInstall = false;
  }
  const std::string bytes = e2e::SetupFileBytes(c);
  return {e2e::WriteSetupFile(folder, "setup " + o.title + ".exe", bytes), bytes};
}

// The shell starts the verb's program on its own; it may write its line after setup ended.
bool ShellWasAskedToInstall(const std::string& path) {
  return e2e::WaitFor([&] {
    for (const auto& line : e2e::InstallLog())
      if (line.size() == 1 && e2e::SamePath(line[0], path)) return true;
    return false;
  });
}

std::optional<std::string> InstalledPath(const std::string& title) {
  return e2e::ReadRegString(HKEY_CURRENT_USER, kSaverKeyRoot + title, "FileName_");
}

int32_t Int32At(const std::string& bytes, std::size_t offset) {
  uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value |= uint32_t(uint8_t(bytes[offset + i])) << (8 * i);
  return static_cast<int32_t>(value);
}

TEST(InstallSilent, DefaultFolderWithPlaceholdersExpanded) {
  const std::string scratch = e2e::ScratchFolder();
  Options o("E2E Default");
  o.defaultFolder = "<Program Files>";
  o.defaultSubfolder = "E2E Default Stars";
  const SetupFile setup = MakeSetup(scratch, o);

  ASSERT_EQ(RunSilent(setup.path), 0u);
  const std::string folder = Join(SpecialFolderPath(CSIDL_PROGRAM_FILES), "E2E Default Stars");
  const std::string saver = Join(folder, kSaverName);
  EXPECT_EQ(e2e::ReadFileBytes(saver), o.image);
  EXPECT_TRUE(e2e::FileExists(Join(folder, kUninstallerName)));
  EXPECT_TRUE(ShellWasAskedToInstall(saver));
  EXPECT_EQ(InstalledPath(o.title), saver);
}

TEST(InstallSilent, GivenFolderGetsEveryFileTheFlagsAndTheRecord) {
  const std::string scratch = e2e::ScratchFolder();
  Options o("E2E Given");
  o.readme = "Line one\nLine two\r\nLine three\r\rLine five";
  o.flags = true;
  const SetupFile setup = MakeSetup(scratch, o);
  const std::string folder = Join(scratch, "Not\\Yet\\There");  // every level missing

  ASSERT_EQ(RunSilent(setup.path, folder), 0u);
  const std::string saver = Join(folder, kSaverName);
  const std::string uninstaller = Join(folder, kUninstallerName);
  const std::string readme = Join(folder, "E2E Given Readme.txt");

  EXPECT_EQ(e2e::ReadFileBytes(saver), o.image);
  EXPECT_EQ(e2e::ReadFileBytes(readme), "Line one\r\nLine two\r\nLine three\r\n\r\nLine five\r\n");
  EXPECT_TRUE(ShellWasAskedToInstall(saver));

  // The uninstaller: the stub, the texts, the record as the setup file holds it, "ScUnin.sig".
  const auto written = e2e::ReadFileBytes(uninstaller);
  ASSERT_TRUE(written);
  const std::string& s = setup.bytes;
  const int32_t packageSize = Int32At(s, s.size() - 942);
  const std::size_t stubLength = s.size() - packageSize;
  const std::string record = s.substr(s.size() - 942, 932);
  ASSERT_GE(written->size(), 942u);
  EXPECT_EQ(written->substr(written->size() - 10), "ScUnin.sig");
  EXPECT_EQ(Int32At(*written, written->size() - 942), packageSize);
  EXPECT_EQ(*written, s.substr(0, stubLength) + o.readme + record + "ScUnin.sig");

  EXPECT_EQ(e2e::ReadRegString(HKEY_LOCAL_MACHINE, kUninstallRoot + o.title, "DisplayName"), o.title);
  EXPECT_EQ(e2e::ReadRegString(HKEY_LOCAL_MACHINE, kUninstallRoot + o.title, "UninstallString"),
            "\"" + uninstaller + "\"");
  EXPECT_EQ(e2e::ReadRegString(HKEY_LOCAL_MACHINE, kUninstallRoot + o.title, "DisplayIcon"), uninstaller);
  EXPECT_EQ(InstalledPath(o.title), saver);

  const auto preview = e2e::ReadShellLink(Join(SpecialFolderPath(CSIDL_DESKTOPDIRECTORY), "Preview E2E Given.lnk"));
  ASSERT_TRUE(preview);
  EXPECT_TRUE(e2e::SamePath(preview->target, saver)) << preview->target;
  const std::string group = Join(SpecialFolderPath(CSIDL_PROGRAMS), o.title);
  const auto uninstallLink = e2e::ReadShellLink(Join(group, "Uninstall E2E Given.lnk"));
  ASSERT_TRUE(uninstallLink);
  EXPECT_TRUE(e2e::SamePath(uninstallLink->target, uninstaller)) << uninstallLink->target;
  const auto readmeLink = e2e::ReadShellLink(Join(group, "Readme.lnk"));
  ASSERT_TRUE(readmeLink);
  EXPECT_TRUE(e2e::SamePath(readmeLink->target, readme)) << readmeLink->target;
  EXPECT_TRUE(e2e::ReadShellLink(Join(group, "Preview E2E Given.lnk")));
}

// Also the switches deployment tools give, in the order they give them.
TEST(InstallSilent, FlagsOffMakeNoEntryAndNoShortcut) {
  const std::string scratch = e2e::ScratchFolder();
  struct Case {
    const char* title;
    std::string arguments;  // {} stands for the folder
    bool verb;
    std::string log = {};  // the file -log names, which must open with the run's block
  };
  const std::string log = Join(scratch, "setup.log");
  const Case cases[] = {
      {"E2E Plain", "-silent {}", true},
      {"E2E Winget", "-silent -log " + Quote(log) + " -dir {}", true, log},
      {"E2E No Verb", "-SILENT -no-shell-install -dir {}", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    Options o(c.title);
    const SetupFile setup = MakeSetup(scratch, o);
    const std::string folder = Join(scratch, c.title);
    std::string arguments = c.arguments;
    arguments.replace(arguments.find("{}"), 2, Quote(folder));

    ASSERT_EQ(e2e::RunUnattended(setup.path, arguments), 0u);
    EXPECT_EQ(FolderEntries(folder), (std::vector<std::string>{kSaverName, kUninstallerName}));
    if (!c.log.empty()) {
      const std::string written = e2e::ReadFileBytes(c.log).value_or("");
      EXPECT_EQ(written.find("  ==== Run started ====\r\n"), 23u) << written;  // after its time stamp
      EXPECT_NE(written.find("  Command line: " + Quote(setup.path) + " " + arguments + "\r\n"), std::string::npos)
          << written;
      for (const std::string& line : {std::string("Mode: unattended setup"), "Folder: " + folder + "\\",
                                      "File committed: " + Join(folder, kSaverName) + ", ",
                                      "File committed: " + Join(folder, kUninstallerName) + ", ",
                                      std::string("Outcome: done"), std::string("Exit code: 0\r\n")})
        EXPECT_NE(written.find("  " + line), std::string::npos) << line << "\n" << written;
    }
    EXPECT_FALSE(e2e::RegKeyExists(HKEY_LOCAL_MACHINE, kUninstallRoot + o.title));
    EXPECT_FALSE(e2e::FileExists(Join(SpecialFolderPath(CSIDL_DESKTOPDIRECTORY), "Preview " + o.title + ".lnk")));
    EXPECT_FALSE(e2e::FolderExists(Join(SpecialFolderPath(CSIDL_PROGRAMS), o.title)));
    EXPECT_EQ(InstalledPath(o.title), Join(folder, kSaverName));
    if (c.verb) {
      EXPECT_TRUE(ShellWasAskedToInstall(Join(folder, kSaverName)));
    } else {
      for (const auto& line : e2e::InstallLog())
        EXPECT_FALSE(line.size() == 1 && e2e::SamePath(line[0], Join(folder, kSaverName))) << "handed to the shell";
    }
  }
}

TEST(InstallSilent, ReinstallingReusesTheRecordedFileAnotherSaverGetsANumberedName) {
  const std::string scratch = e2e::ScratchFolder();
  const std::string folder = Join(scratch, "Shared");
  Options first("E2E First");
  Options again = first;
  again.image = Image('b');
  Options other("E2E Other");
  other.image = Image('c');

  ASSERT_EQ(RunSilent(MakeSetup(scratch, first).path, folder), 0u);
  ASSERT_EQ(RunSilent(MakeSetup(scratch, again).path, folder), 0u);
  // The same title again: the recorded file is overwritten in place.
  EXPECT_EQ(FolderEntries(folder), (std::vector<std::string>{kSaverName, kUninstallerName}));
  EXPECT_EQ(e2e::ReadFileBytes(Join(folder, kSaverName)), again.image);

  // The same folder spelt another way is the same folder: replaced in place, no numbered copy.
  std::string changedCase = folder, slashes = folder;
  for (char& c : changedCase) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  changedCase[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(changedCase[0])));
  std::replace(slashes.begin(), slashes.end(), '\\', '/');
  char seed = 'd';
  for (const std::string& spelling : {changedCase, slashes, folder + "\\.", Join(scratch, "x\\..\\Shared")}) {
    SCOPED_TRACE(spelling);
    Options spelt = first;
    spelt.image = Image(seed++);
    ASSERT_EQ(RunSilent(MakeSetup(scratch, spelt).path, spelling), 0u);
    EXPECT_EQ(FolderEntries(folder), (std::vector<std::string>{kSaverName, kUninstallerName}));
    EXPECT_EQ(e2e::ReadFileBytes(Join(folder, kSaverName)), spelt.image);
    again.image = spelt.image;
  }

  // Another screen saver with the same file name keeps the first one and takes a numbered name.
  ASSERT_EQ(RunSilent(MakeSetup(scratch, other).path, folder), 0u);
  const std::string numbered = Join(folder, "e2estar1.scr");
  EXPECT_EQ(e2e::ReadFileBytes(numbered), other.image);
  EXPECT_EQ(e2e::ReadFileBytes(Join(folder, kSaverName)), again.image);
  EXPECT_TRUE(e2e::FileExists(Join(folder, "uninstall e2estar1.exe")));
  EXPECT_EQ(InstalledPath(other.title), numbered);
  EXPECT_EQ(InstalledPath(first.title), Join(folder, kSaverName));
}

TEST(InstallSilent, ExitCodesTellTheOutcomeAndAFailureIsRolledBack) {
  const std::string scratch = e2e::ScratchFolder();
  ASSERT_TRUE(e2e::WriteFileBytes(Join(scratch, "a file"), "x"));
  struct Case {
    const char* name;
    std::string title;
    std::string folder;
    std::function<void(const std::string& folder)> prepare;
    std::string language;
    DWORD exitCode;
    bool folderLeft;
    std::size_t imageSize = 0;  // else the usual image
    // The image as another builder or --no-compress stores it: a program file, copied as it stands
    // (and not handed to the shell, which would start it), or one byte flipped in the coded image.
    enum { kCoded, kStoredProgram, kFlipCodedFrame, kFlipStoredFrame, kFlipFrameHeader } image = kCoded;
    std::vector<std::string> logged = {};  // run with -log: lines the log must hold, {} the folder
  };
  // A really full disk: the 1 MB drive holds a 900 KB image but not the uninstaller after it.
  const std::string smallDrive = e2e::Env("SCR_E2E_SMALL_DRIVE");
  const Case cases[] = {
      {"installed", "E2E Exit Ok", Join(scratch, "ok"), nullptr, "", 0, true, 0, Case::kCoded,
       {"File committed: {}\\e2estars.scr, ", "File committed: {}\\uninstall e2estars.exe, ",
        "File committed: {}\\E2E Exit Ok Readme.txt, ",
        "Registry key created: HKLM\\" + std::string(kUninstallRoot) + "E2E Exit Ok",
        "Link made: " + SpecialFolderPath(CSIDL_DESKTOPDIRECTORY) + "\\Preview E2E Exit Ok.lnk",
        "Link made: " + SpecialFolderPath(CSIDL_PROGRAMS) + "\\E2E Exit Ok\\Preview E2E Exit Ok.lnk",
        "Outcome: done"}},
      {"installed again", "E2E Exit Ok", Join(scratch, "ok"), nullptr, "", 0, true, 0, Case::kCoded,
       {"File replaced: {}\\e2estars.scr, ", "File replaced: {}\\uninstall e2estars.exe, ", "Outcome: done"}},
      {"folder cannot be created", "E2E Exit A", Join(scratch, "a file\\below"), nullptr, "", 2, false},
      // A colon past the drive names no folder; splitting at it once recursed without end.
      {"colon in a level", "E2E Exit Colon", Join(scratch, "Colon\\x:ads"), nullptr, "", 2, false},
      {"colon ending a level", "E2E Exit Colon", Join(scratch, "Colon\\a:b\\c"), nullptr, "", 2, false},
      {"colon ending the folder", "E2E Exit Colon", "dir:", nullptr, "", 2, false},
      {"a folder on a drive that is not there", "E2E Exit Colon", "a:b\\c", nullptr, "", 2, false},
      // A folder where the readme must go stops the installation before anything is copied; the
      // folder was there before, so it stays.
      {"a folder stands in the readme's way", "E2E Exit D", Join(scratch, "d"),
       [](const std::string& folder) { CreateDirectoryA(folder.c_str(), nullptr);
                                       CreateDirectoryA(Join(folder, "E2E Exit D Readme.txt").c_str(), nullptr); },
       "", 2, true},
      // A translation that no file name can hold makes the uninstaller impossible to create, after
      // the screen saver and the readme were written into folders made for them.
      {"uninstaller cannot be created", "E2E Exit U", Join(scratch, "new\\deeper"), nullptr,
       "Setup\r\nUninstall=Un|install\r\n", 3, false},
      {"disk full during the copy", "E2E Exit Full", smallDrive + "\\During", nullptr, "", 3, false, 1200000,
       Case::kCoded, {"Failed: write the screen saver: {}\\e2estars.scr: error 112 ("}},
      {"disk full after the copy", "E2E Exit Full", smallDrive + "\\After", nullptr, "", 3, false, 900000},
      {"stored program image", "E2E Exit Stored", Join(scratch, "stored"), nullptr, "", 0, true, 0,
       Case::kStoredProgram},
      {"damaged coded frame", "E2E Exit Coded", Join(scratch, "coded"), nullptr, "", 3, false, 0,
       Case::kFlipCodedFrame},
      {"damaged stored frame", "E2E Exit Noise", Join(scratch, "noise"), nullptr, "", 3, false, 0,
       Case::kFlipStoredFrame},
      {"damaged frame header", "E2E Exit Header", Join(scratch, "header"), nullptr, "", 3, false, 0,
       Case::kFlipFrameHeader},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.imageSize && smallDrive.empty()) {
      std::printf("'%s' skipped: no small drive: %s\n", c.name, e2e::Env("SCR_E2E_SMALL_DRIVE_SKIP").c_str());
      continue;
    }
    if (c.prepare) c.prepare(c.folder);
    Options o(c.title);
    if (c.imageSize) o.image = Image('f', c.imageSize);
    o.readme = "Read me.";
    o.language = c.language;
    o.flags = true;
    if (c.image == Case::kStoredProgram) {
      o.image.replace(0, 2, "MZ");
      o.shellInstall = false;
    } else if (c.image == Case::kFlipStoredFrame) {
      o.image = Noise(300000);  // does not compress: its frame is stored
    }
    SetupFile setup = MakeSetup(scratch, o);
    if (c.image >= Case::kFlipCodedFrame) {
      const std::size_t image = setup.bytes.find(package::kCodedImageMarker, e2e::StubBytes().size(), 8);
      ASSERT_NE(image, std::string::npos);
      const std::size_t frame = image + package::kImageHeaderSize;
      const std::size_t at = c.image == Case::kFlipFrameHeader ? frame + 8 : frame + package::kFrameHeaderSize + 200;
      setup.bytes[at] = char(setup.bytes[at] ^ 0x04);
      ASSERT_TRUE(e2e::WriteFileBytes(setup.path, setup.bytes));
    }
    const std::string log = Join(scratch, "exit.log");
    DeleteFileA(log.c_str());
    EXPECT_EQ(c.logged.empty() ? RunSilent(setup.path, c.folder)
                               : e2e::RunUnattended(setup.path, "-silent " + Quote(c.folder) + " -log " + Quote(log)),
              c.exitCode);
    const std::string written = e2e::ReadFileBytes(log).value_or("");
    for (std::string line : c.logged) {
      if (const std::size_t at = line.find("{}"); at != std::string::npos) line.replace(at, 2, c.folder);
      EXPECT_NE(written.find(line), std::string::npos) << line << "\n" << written;
    }
    if (c.image == Case::kStoredProgram) {
      EXPECT_EQ(e2e::ReadFileBytes(Join(c.folder, kSaverName)), o.image);
    }
    const bool installed = c.exitCode == 0;
    EXPECT_EQ(e2e::FileExists(Join(c.folder, kSaverName)), installed);
    EXPECT_EQ(e2e::FileExists(Join(c.folder, kUninstallerName)), installed);
    EXPECT_EQ(e2e::FolderExists(c.folder), c.folderLeft);
    EXPECT_EQ(InstalledPath(c.title).has_value(), installed);
    EXPECT_EQ(e2e::RegKeyExists(HKEY_LOCAL_MACHINE, kUninstallRoot + c.title), installed);
    EXPECT_EQ(e2e::FileExists(Join(SpecialFolderPath(CSIDL_DESKTOPDIRECTORY), "Preview " + c.title + ".lnk")),
              installed);
    EXPECT_EQ(e2e::FolderExists(Join(SpecialFolderPath(CSIDL_PROGRAMS), c.title)), installed);
    if (installed && o.shellInstall) {
      EXPECT_TRUE(ShellWasAskedToInstall(Join(c.folder, kSaverName)));
    } else {
      for (const auto& line : e2e::InstallLog())
        EXPECT_FALSE(line.size() == 1 && e2e::SamePath(line[0], Join(c.folder, kSaverName))) << "handed to the shell";
    }
  }
  EXPECT_FALSE(e2e::FolderExists(Join(scratch, "new"))) << "both folders made for the failed attempt go";
  EXPECT_FALSE(e2e::FolderExists(Join(scratch, "Colon"))) << "nothing of a folder Windows cannot create is made";
  EXPECT_TRUE(e2e::FileExists(Join(scratch, "a file")));

  // A file without a package cannot be read at all.
  const std::string bare = Join(scratch, "bare.exe");
  ASSERT_TRUE(e2e::CopyFileTo(e2e::StubPath(), bare));
  EXPECT_EQ(RunSilent(bare, Join(scratch, "never")), 1u);
  EXPECT_FALSE(e2e::FolderExists(Join(scratch, "never")));
}

// ---- the wizard

// Presses a button the way a click does, without waiting for the handler: the installation and
// any message box it shows run inside it.
void Press(HWND wizard, int id) {
  PostMessageA(wizard, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(e2e::ChildById(wizard, id)));
}

bool PageShowing(HWND wizard, int page) {
  HWND pageWindow = e2e::ChildById(wizard, ui::PageChildId(page));
  return pageWindow && IsWindowVisible(pageWindow);
}

bool TypeFolder(HWND wizard, const std::string& folder) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(e2e::ChildById(wizard, ui::child::edDirectory), WM_SETTEXT, 0,
                             reinterpret_cast<LPARAM>(folder.c_str()), SMTO_ABORTIFHUNG, 10000, &result) != 0;
}

constexpr int kPageDirectory = 1;
constexpr int kPageReadme = 4;
constexpr int kPageFinished = 5;

// Waits for the wizard's folder page, types `folder` and presses Install; the wizard, or null
// when it never reached that page.
HWND InstallThroughWizard(e2e::Process& process, const std::string& folder) {
  const HWND wizard = e2e::WaitForWindow(process, "TSCRSetup");
  if (!wizard || !e2e::WaitFor([&] { return PageShowing(wizard, kPageDirectory); }) ||
      !TypeFolder(wizard, folder))
    return nullptr;
  Press(wizard, ui::child::btnNext);
  return wizard;
}

// The folder the running test program lies in, where the build puts the planted DLL too.
std::string TestProgramFolder() {
  char path[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of('\\'));
}

// Wine prefers its own built-in DLLs; this per-program setting makes it take a DLL found in the
// program's folder first, as Windows does for any DLL that is not one of its KnownDLLs.
class PreferDllsBeside {
 public:
  PreferDllsBeside(const std::string& programName, const std::string& dll)
      : key_("Software\\Wine\\AppDefaults\\" + programName) {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (key_ + "\\DllOverrides").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const char order[] = "native,builtin";
    RegSetValueExA(key, dll.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(order), sizeof order);
    RegCloseKey(key);
  }
  ~PreferDllsBeside() {
    RegDeleteKeyA(HKEY_CURRENT_USER, (key_ + "\\DllOverrides").c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, key_.c_str());
  }
  PreferDllsBeside(const PreferDllsBeside&) = delete;
  PreferDllsBeside& operator=(const PreferDllsBeside&) = delete;

 private:
  std::string key_;
};

// A setup file is usually run from a Downloads folder, where a web page can drop a DLL. The
// drawing helper msimg32.dll is one the system loads by bare name after the program has started:
// the theming library delay-loads it when it first paints a themed control of the wizard. Unless
// the program keeps the search to the system folder, it is taken from beside the setup file.
TEST(InstallWizard, ADllPlantedBesideTheSetupFileIsNeverLoaded) {
  const std::string scratch = e2e::ScratchFolder();
  Options o("E2E Planted");
  const SetupFile setup = MakeSetup(scratch, o);
  const std::string planted = Join(scratch, "msimg32.dll");
  ASSERT_TRUE(e2e::CopyFileTo(Join(TestProgramFolder(), "planted_library.dll"), planted));
  const std::string marker = planted + ".loaded";
  PreferDllsBeside preferPlanted(setup.path.substr(setup.path.find_last_of('\\') + 1), "msimg32");
  const std::string folder = Join(scratch, "Installed");

  e2e::Process process = e2e::StartProcess(Quote(setup.path));
  ASSERT_TRUE(process.Started());
  EXPECT_TRUE(InstallThroughWizard(process, folder)) << "no folder page to install from";
  EXPECT_TRUE(e2e::WaitFor([&] { return !process.Running() || e2e::FileExists(marker); }));
  EXPECT_FALSE(e2e::FileExists(marker)) << "the planted DLL was loaded";
  EXPECT_EQ(process.ExitCode(), 0u);
  EXPECT_TRUE(e2e::ReadFileBytes(Join(folder, kSaverName)) == o.image) << "the screen saver was not installed";
}

TEST(InstallWizard, InstallThenReadmeThenFinished) {
  const std::string scratch = e2e::ScratchFolder();
  Options o("E2E Wizard");
  // A readme long enough that the bar, which counts the whole setup file, ends well short of 100.
  for (int i = 0; i < 4000; ++i) o.readme += "Welcome to the stars, line " + std::to_string(i) + ".\r\n";
  const SetupFile setup = MakeSetup(scratch, o);
  const std::string folder = Join(scratch, "Wizard Target");
  const double imageEnd = double(setup.bytes.size() - o.readme.size() - 942);
  const int lastProgress = int(100.0 * imageEnd / double(setup.bytes.size()) + 0.5);
  ASSERT_LT(lastProgress, 100);

  e2e::Process process = e2e::StartProcess(Quote(setup.path));
  ASSERT_TRUE(process.Started());
  const HWND wizard = InstallThroughWizard(process, folder);
  ASSERT_TRUE(wizard) << "no folder page to install from";

  ASSERT_TRUE(e2e::WaitFor([&] { return PageShowing(wizard, kPageReadme); })) << "no readme page";
  // While this one is open, a second run of the same setup does nothing and says it must wait.
  EXPECT_EQ(RunSilent(setup.path, Join(scratch, "Second")), 1618u);
  EXPECT_FALSE(e2e::FolderExists(Join(scratch, "Second")));
  EXPECT_EQ(e2e::ReadFileBytes(Join(folder, kSaverName)), o.image);
  EXPECT_EQ(e2e::ReadFileBytes(Join(folder, "E2E Wizard Readme.txt")), o.readme);
  EXPECT_EQ(e2e::TextOf(e2e::ChildById(wizard, ui::child::edDirectory)), folder + "\\");
  HWND bar = e2e::ChildById(wizard, ui::child::ProgressBar);
  ASSERT_TRUE(bar);
  EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), lastProgress);
  EXPECT_TRUE(IsWindowEnabled(wizard));

  Press(wizard, ui::child::btnNext);
  ASSERT_TRUE(e2e::WaitFor([&] { return PageShowing(wizard, kPageFinished); })) << "no finished page";
  Press(wizard, ui::child::btnNext);
  ASSERT_TRUE(process.WaitForExit());
  EXPECT_EQ(process.ExitCode(), 0u);
  EXPECT_EQ(InstalledPath(o.title), Join(folder, kSaverName));
}

TEST(InstallWizard, WithoutReadmeTheWindowClosesRightAfterInstalling) {
  const std::string scratch = e2e::ScratchFolder();
  Options o("E2E Quick");
  const SetupFile setup = MakeSetup(scratch, o);
  const std::string folder = Join(scratch, "Quick");

  e2e::Process process = e2e::StartProcess(Quote(setup.path));
  ASSERT_TRUE(process.Started());
  const HWND wizard = InstallThroughWizard(process, folder);
  ASSERT_TRUE(wizard) << "no folder page to install from";
  ASSERT_TRUE(process.WaitForExit()) << "the wizard stayed open";
  EXPECT_EQ(process.ExitCode(), 0u);
  EXPECT_EQ(e2e::ReadFileBytes(Join(folder, kSaverName)), o.image);
  EXPECT_TRUE(e2e::FileExists(Join(folder, kUninstallerName)));
}

TEST(InstallWizard, AnEmptyFolderIsRefusedAndTheFolderPageComesBack) {
  const std::string scratch = e2e::ScratchFolder();
  Options o("E2E Refused");
  const SetupFile setup = MakeSetup(scratch, o);

  e2e::Process process = e2e::StartProcess(Quote(setup.path));
  ASSERT_TRUE(process.Started());
  const HWND wizard = InstallThroughWizard(process, "");
  ASSERT_TRUE(wizard) << "no folder page to install from";

  const auto box = e2e::WaitForMessageBox(process, "Screensaver Setup");
  ASSERT_TRUE(box) << "no message";
  EXPECT_EQ(box->text, "Invalid directory. Please select an existing directory.");
  EXPECT_TRUE(box->hasIcon);
  ASSERT_EQ(box->buttons.size(), 1u);
  ASSERT_TRUE(e2e::ClickButton(box->window, box->buttons[0].first));

  ASSERT_TRUE(e2e::WaitFor([&] { return PageShowing(wizard, kPageDirectory); }));
  EXPECT_TRUE(e2e::WaitFor([&] { return !IsWindowEnabled(e2e::ChildById(wizard, ui::child::btnCancel)); }));
  EXPECT_TRUE(e2e::WaitFor([&] { return IsWindowVisible(e2e::ChildById(wizard, ui::child::btnNext)) != FALSE; }));

  // The user corrects the folder and installs.
  const std::string folder = Join(scratch, "Corrected");
  ASSERT_TRUE(TypeFolder(wizard, folder));
  Press(wizard, ui::child::btnNext);
  ASSERT_TRUE(process.WaitForExit());
  EXPECT_EQ(e2e::ReadFileBytes(Join(folder, kSaverName)), o.image);
}

}  // namespace

namespace {

// A Downloads folder whose Greek name ("Λήψεις") the Western code page of this system cannot
// hold: the ANSI calls would name the setup file "C:\???e??\setup.exe", which is no file.
TEST(InstallFromAFolderOutsideTheCodePage, SilentlyAndThroughTheWizard) {
  const std::string scratch = e2e::ScratchFolder();
  Options o("E2E Greek");
  const SetupFile setup = MakeSetup(scratch, o);
  const std::wstring downloads = L"C:\\\x039B\x03AE\x03C8\x03B5\x03B9\x03C2";
  const std::wstring setupW = downloads + L"\\setup.exe";
  ASSERT_TRUE(e2e::OutsideTheCodePage(downloads));
  ASSERT_TRUE(e2e::MakeFoldersW(downloads));
  ASSERT_TRUE(CopyFileW(e2e::Widen(setup.path).c_str(), setupW.c_str(), FALSE));

  const std::string silentFolder = Join(scratch, "Silent");
  e2e::Process silent = e2e::StartProcess(L"\"" + setupW + L"\" -silent \"" + e2e::Widen(silentFolder) + L"\"");
  ASSERT_TRUE(silent.Started());
  ASSERT_TRUE(silent.WaitForExit());
  EXPECT_EQ(silent.ExitCode(), 0u);
  EXPECT_TRUE(e2e::ReadFileBytes(Join(silentFolder, kSaverName)) == o.image);
  EXPECT_TRUE(e2e::FileExists(Join(silentFolder, kUninstallerName)));

  const std::string wizardFolder = Join(scratch, "Wizard");
  e2e::Process wizard = e2e::StartProcess(L"\"" + setupW + L"\"");
  ASSERT_TRUE(wizard.Started());
  ASSERT_TRUE(InstallThroughWizard(wizard, wizardFolder)) << "no folder page to install from";
  ASSERT_TRUE(wizard.WaitForExit()) << "the wizard stayed open";
  EXPECT_EQ(wizard.ExitCode(), 0u);
  EXPECT_TRUE(e2e::ReadFileBytes(Join(wizardFolder, kSaverName)) == o.image);
  EXPECT_TRUE(e2e::FileExists(Join(wizardFolder, kUninstallerName)));
}

}  // namespace
