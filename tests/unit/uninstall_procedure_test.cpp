// The uninstall procedure against the fakes, given what start-up reads from an uninstaller file;
// and the window, which ends the program as the procedure's outcome says.
#include <gtest/gtest.h>

#include "start_up_rig.h"
#include "integration/saver_registry.h"
#include "integration/shortcuts.h"
#include "integration/uninstall_entry.h"
#include "language/translation.h"
#include "package/package_reader.h"
#include "package/read_source.h"
#include "uninstall/uninstall_procedure.h"

namespace {

using os::RegRoot;
constexpr char kFolder[] = "C:\\Program Files\\Stars\\";
constexpr char kUninstaller[] = "C:\\Program Files\\Stars\\uninstall stars.exe";
constexpr char kShortUninstaller[] = "C:\\PROGRA~1\\Stars\\UNINST~1.EXE";
constexpr char kSaver[] = "C:\\Program Files\\Stars\\stars.scr";
constexpr char kReadme[] = "C:\\Program Files\\Stars\\Stars Readme.txt";
// The fake's generator counts up from 1: the first run folder is named after bytes 1 to 8.
constexpr char kRunFolder[] = "C:\\windows\\temp\\ZUZOrilder-0102030405060708";
const std::string kTempCopy = std::string(kRunFolder) + "\\ZUZOrilderuninst0.exe";
constexpr char kSaverKey[] = "Software\\Somnivex\\Stars";
constexpr char kEntry[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Stars";
const std::string kGroup = std::string(fake::kFakePrograms) + "\\Stars\\";
const std::string kDesktopLink = std::string(fake::kFakeDesktop) + "\\Preview Stars.lnk";

using support::Flags;

// A machine on which "Stars" was installed with everything the flags ask for.
struct Machine {
  void Install(Flags flags = {}, const std::string& language = "", const std::string& title = "Stars") {
    support::SetupContents c = support::StarsContents();
    c.readme = "Read me.";
    c.language = language;
    c.record.SetTitle(title);
    support::SetFlags(c.record, flags);
    uninstallerBytes = rig::AsUninstaller(rig::SetupFile(c));
    auto& fake = r.fake;
    fake.files.AddFile(kUninstaller, uninstallerBytes);
    fake.files.AddFile(kSaver, "image");
    fake.files.AddFile(kReadme, "Read me.");
    fake.files.SetShortPath(kUninstaller, kShortUninstaller);
    fake.system.SetModulePath(kUninstaller);
    fake.registry.SetString(RegRoot::kCurrentUser, kSaverKey, "FileName_", kSaver);
    fake.registry.SetString(RegRoot::kCurrentUser, kSaverKey, "StartID", "5");
    fake.registry.SetString(RegRoot::kCurrentUser, kSaverKey, "Speed", "3");
    integration::RegisterUninstallEntry(fake.registry, title, kUninstaller);
    integration::CreateStartMenuGroup(r.os, title, kUninstaller, kSaver, true);
    integration::CreateDesktopShortcut(r.os, title, kSaver);
    fake.log.Clear();
  }

  // The whole uninstaller: start-up finds the uninstaller signature and hands over.
  void Uninstall(bool silent = false, bool yes = false) {
    std::vector<std::string> arguments;
    if (silent) arguments.push_back("-silent");
    if (yes) arguments.push_back("-yes");
    r.Run(arguments);
  }

  // The procedure alone, on what start-up reads from the uninstaller file: the package end, the
  // record and the translation of the language text.
  uninstall::UninstallOutcome Remove() {
    const std::string bytes = r.fake.files.Content(kUninstaller).value_or("");
    package::MemoryReadSource source(bytes);
    const package::PackageInfo info = package::ReadPackage(source);
    language::LoadTranslation(info.language, "Setup");
    return uninstall::UninstallProcedure(r.os, r.host.handle, info.packageEnd, info.record);
  }

  int At(const std::string& linePrefix) {
    const int index = r.fake.log.IndexOf(linePrefix);
    EXPECT_GE(index, 0) << "missing: " << linePrefix << "\n" << r.fake.log.Dump();
    return index;
  }

  rig::WizardRig r;
  std::string uninstallerBytes;
};

class Uninstaller : public ::testing::Test, public Machine {};

TEST_F(Uninstaller, YesRemovesEverythingInOrder) {
  Install();
  // What an installation cut off during its copy left beside the files goes too.
  const std::vector<std::string> leftovers = {std::string(kSaver) + ".scrsetup-new", std::string(kReadme) + ".scrsetup-old",
                                              std::string(kUninstaller) + ".scrsetup-new1"};
  for (const std::string& path : leftovers) r.fake.files.AddFile(path, "cut off");
  // A deployment tool's earlier run as LocalSystem put its links where every user sees them.
  r.fake.system.localSystem = true;
  integration::CreateStartMenuGroup(r.os, "Stars", kUninstaller, kSaver, true);
  integration::CreateDesktopShortcut(r.os, "Stars", kSaver);
  r.fake.system.localSystem = false;
  const std::string commonGroup = std::string(fake::kFakeCommonPrograms) + "\\Stars";
  const std::string commonLink = std::string(fake::kFakeCommonDesktop) + "\\Preview Stars.lnk";
  ASSERT_TRUE(r.fake.files.HasFile(commonLink));
  ASSERT_TRUE(r.fake.files.HasFolder(commonGroup));
  const uninstall::UninstallOutcome outcome = Remove();
  auto& fake = r.fake;
  ASSERT_EQ(fake.system.Messages().size(), 1u) << fake.log.Dump();
  const fake::Message& ask = fake.system.Messages()[0];
  EXPECT_EQ(ask.text, "Are you sure you want to remove Stars and its components?");
  EXPECT_EQ(ask.caption, "Stars Uninstall");
  EXPECT_EQ(ask.flags, 0x24u);
  EXPECT_EQ(ask.owner, r.host.handle);

  const int read = At("RegQueryValue HKCU\\Software\\Somnivex\\Stars\\FileName_");
  const int saver = At(std::string("DeleteFile ") + kSaver);
  const int clear = At("RegEnumValues HKCU\\Software\\Somnivex\\Stars");
  const int readme = At(std::string("DeleteFile ") + kReadme);
  const int copy = At(std::string("CopyFile ") + kUninstaller);
  const int start = At("ShellExecute");
  const int entry = At(std::string("RegDeleteKey HKLM\\") + kEntry);
  const int group = At("DeleteFile " + kGroup + "Preview Stars.lnk");
  const int desktop = At("DeleteFile " + kDesktopLink);
  EXPECT_LT(read, saver);
  EXPECT_LT(saver, clear);
  EXPECT_LT(clear, readme);
  EXPECT_LT(readme, copy);
  EXPECT_LT(copy, start);
  EXPECT_LT(start, entry);
  EXPECT_LT(entry, group);
  EXPECT_LT(group, desktop);

  for (const char* gone : {kSaver, kReadme}) EXPECT_FALSE(fake.files.HasFile(gone)) << gone;
  for (const std::string& gone : leftovers) EXPECT_FALSE(fake.files.HasFile(gone)) << gone;
  EXPECT_FALSE(fake.files.HasFile(kDesktopLink));
  EXPECT_FALSE(fake.files.HasFolder(kGroup));
  EXPECT_FALSE(fake.files.HasFile(commonLink));
  EXPECT_FALSE(fake.files.HasFolder(commonGroup));
  EXPECT_FALSE(fake.registry.HasKey(RegRoot::kLocalMachine, kEntry));
  EXPECT_EQ(fake.registry.StringValue(RegRoot::kCurrentUser, kSaverKey, "StartID"), "5");
  EXPECT_FALSE(fake.registry.Value(RegRoot::kCurrentUser, kSaverKey, "FileName_"));
  EXPECT_FALSE(fake.registry.Value(RegRoot::kCurrentUser, kSaverKey, "Speed"));
  EXPECT_TRUE(fake.files.HasFolder(kFolder));
  // This process never deletes its own file: the copy does, once we have ended.
  EXPECT_TRUE(fake.files.HasFile(kUninstaller));
  EXPECT_EQ(fake.files.Content(kTempCopy), uninstallerBytes);
  EXPECT_TRUE(fake.files.IsPrivateFolder(kRunFolder));
  EXPECT_LT(At("CreatePrivateFolder"), copy);
  EXPECT_EQ(fake.log.LinesOf("CopyFile")[0], std::string("CopyFile ") + kUninstaller + " -> " + kTempCopy);

  ASSERT_EQ(fake.shell.Executions().size(), 1u);
  const fake::Execution& e = fake.shell.Executions()[0];
  EXPECT_EQ(e.owner, r.host.handle);
  EXPECT_EQ(e.verb, "open");
  EXPECT_EQ(e.file, kTempCopy);
  EXPECT_EQ(e.parameters, std::string("-delfile ") + kShortUninstaller +
                              " \"Screensaver Setup\" \"Stars has been successfully removed from your computer.\"");
  EXPECT_EQ(e.directory, "");
  EXPECT_EQ(e.show, 0);
  EXPECT_EQ(outcome.result, integration::RunResult::kDone);
  EXPECT_FALSE(outcome.message) << "the copy says goodbye";
}

// A file the uninstaller cannot delete -- a screen saver still running, a readme open in an
// editor -- is left to the next restart where the system allows it, and the closing message
// names it instead of claiming success.
TEST_F(Uninstaller, FilesThatStayAreLeftToTheRestartAndNamed) {
  const std::string incomplete = "Stars has been removed from your computer, but some of its files could not be deleted.";
  struct Case {
    const char* name;
    bool restartRefused;
    std::vector<std::string> atRestart;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"restart deletion accepted", false, {kSaver, kReadme},
       incomplete + "\n\nThese files will be deleted when Windows restarts:\n" + kSaver + "\n" + kReadme},
      {"restart deletion refused", true, {},
       incomplete + "\n\nThese files stay; please delete them yourself:\n" + kSaver + "\n" + kReadme},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Machine t;
    t.Install();
    auto& fake = t.r.fake;
    const auto saverHeld = fake.files.Open(kSaver, os::OpenMode::kReadShareRead);
    const auto readmeHeld = fake.files.Open(kReadme, os::OpenMode::kReadShareRead);
    if (c.restartRefused) fake.FailOn("DeleteAtReboot");
    const uninstall::UninstallOutcome outcome = t.Remove();
    EXPECT_TRUE(fake.files.HasFile(kSaver));
    EXPECT_EQ(fake.files.RebootDeletions(), c.atRestart);
    ASSERT_EQ(fake.shell.Executions().size(), 1u);
    const auto args = app::CommandLine::Parse("copy.exe " + fake.shell.Executions()[0].parameters);
    EXPECT_EQ(args.Count(), 4);
    EXPECT_EQ(args.Arg(4), c.message);
    EXPECT_FALSE(fake.registry.HasKey(RegRoot::kLocalMachine, kEntry)) << "the other steps still run";
    EXPECT_EQ(outcome.result, integration::RunResult::kFailedPartWay);
    EXPECT_FALSE(outcome.message) << "the copy names them";
  }
}

TEST_F(Uninstaller, NoRemovesNothingAndStartsNothing) {
  Install();
  r.fake.system.defaultYesNoAnswer = os::kIdNo;
  const uninstall::UninstallOutcome outcome = Remove();
  auto& log = r.fake.log;
  ASSERT_EQ(r.fake.system.Messages().size(), 1u);
  for (const char* op : {"DeleteFile", "CopyFile", "ShellExecute", "RegDeleteKey", "RegDeleteValue", "RemoveFolder",
                         "RegQueryValue", "RegCreateKey"})
    EXPECT_EQ(log.Count(op), 0) << op << "\n" << log.Dump();
  EXPECT_EQ(outcome.result, integration::RunResult::kStoppedUnchanged);
  EXPECT_FALSE(outcome.message);
}

TEST_F(Uninstaller, SilentSwitchStillAsks) {
  Install();
  r.fake.system.defaultYesNoAnswer = os::kIdNo;
  Uninstall(/*silent=*/true);
  ASSERT_EQ(r.fake.system.Messages().size(), 1u);
  EXPECT_EQ(r.fake.system.Messages()[0].flags, 0x24u);
  EXPECT_TRUE(r.fake.files.HasFile(kSaver));
}

TEST_F(Uninstaller, FlagsOffSkipTheirRemoval) {
  struct Case {
    Flags flags;
    bool entryKept, groupKept, desktopKept;
  };
  const std::vector<Case> cases = {
      {{false, true, true}, true, false, false},
      {{true, false, true}, false, true, false},
      {{true, true, false}, false, false, true},
      {{false, false, false}, true, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.flags.entry << c.flags.group << c.flags.desktop);
    Machine t;
    t.Install(Flags{});  // every item exists on the machine
    // ... but the uninstaller's record says which ones setup made.
    support::SetupContents contents = support::StarsContents();
    contents.readme = "Read me.";
    support::SetFlags(contents.record, c.flags);
    t.r.fake.files.AddFile(kUninstaller, rig::AsUninstaller(rig::SetupFile(contents)));
    t.Remove();
    EXPECT_EQ(t.r.fake.registry.HasKey(RegRoot::kLocalMachine, kEntry), c.entryKept);
    EXPECT_EQ(t.r.fake.files.HasFile(kGroup + "Uninstall Stars.lnk"), c.groupKept);
    EXPECT_EQ(t.r.fake.files.HasFile(kDesktopLink), c.desktopKept);
    EXPECT_FALSE(t.r.fake.files.HasFile(kSaver));
    EXPECT_EQ(t.r.fake.shell.Executions().size(), 1u);
  }
}

// The record can be changed by any program the user runs, and the uninstaller often runs with
// administrator rights. Setup names the uninstaller after the file it chose, so that name says
// which file is ours; a recorded path is taken only when the name tells nothing (a renamed
// uninstaller), and only for our own names inside the uninstaller's own folder. Without either,
// the file of the packaged name may be somebody else's that setup kept: it stays, and is named.
TEST_F(Uninstaller, TheSaverIsTheOneItsNameOrASoundRecordNames) {
  struct Case {
    const char* uninstaller;              // the uninstaller's file name in the installation folder
    std::optional<std::string> recorded;  // nullopt: the record is gone
    std::string planted;                  // a file that is there besides stars.scr
    bool plantedDeleted;
    bool saverDeleted;  // stars.scr, the packaged name
    std::string language = "";
  };
  const std::string other = std::string(kFolder) + "other.scr";
  const std::string numbered = std::string(kFolder) + "stars1.scr";
  const std::string victim = "C:\\Victim\\stars1.scr";
  const std::string system = "C:\\windows\\system32\\precious.dll";
  const std::vector<Case> cases = {
      {"uninstall stars.exe", kSaver, other, false, true},
      {"uninstall stars.exe", std::nullopt, other, false, true},
      {"uninstall stars.exe", other, other, false, true},
      {"uninstall stars.exe", system, system, false, true},
      // Setup kept somebody's stars.scr and installed stars1.scr: with or without the record.
      {"uninstall stars1.exe", std::nullopt, numbered, true, false},
      {"uninstall stars1.exe", kSaver, numbered, true, false},
      {"UNINSTALL STARS1.EXE", std::nullopt, numbered, true, false},
      {"UNINST~1.EXE", std::nullopt, numbered, true, false},  // started through the short name
      // The translated word, lowered in A-Z only ("DÉSINSTALLER" in the ANSI code page).
      {"d\xC9sinstaller stars1.exe", std::nullopt, numbered, true, false, "Setup\r\nUninstall=D\xC9SINSTALLER\r\n"},
      {"uninstall stars1.exe", std::nullopt, numbered, false, false, "Setup\r\nUninstall=D\xC9SINSTALLER\r\n"},
      // Renamed: the record is taken for our names in our folder, however it is spelt.
      {"remove.exe", numbered, numbered, true, false},
      {"remove.exe", "c:\\PROGRAM FILES\\stars\\STARS1.SCR", numbered, true, false},
      {"remove.exe", "C:\\PROGRA~1\\STARS\\stars1.scr", numbered, true, false},
      {"remove.exe", "C:/Program Files/Stars/./sub/../stars1.scr", numbered, true, false},
      {"remove.exe", kSaver, other, false, true},
      {"remove.exe", other, other, false, false},
      {"remove.exe", std::string(kFolder) + "stars1.dll", std::string(kFolder) + "stars1.dll", false, false},
      {"remove.exe", system, system, false, false},
      {"remove.exe", victim, victim, false, false},
      {"remove.exe", "C:\\Program Files\\Stars\\..\\Victim\\stars1.scr", victim, false, false},
      {"remove.exe", "C:\\Program Files\\Stars\\../Victim/stars1.scr", victim, false, false},
      {"remove.exe", "C:\\Program Files\\Stars\\sub\\stars1.scr", "C:\\Program Files\\Stars\\sub\\stars1.scr", false,
       false},
      {"remove.exe", "stars1.scr", numbered, false, false},  // relative: read against any folder
      {"remove.exe", kFolder, numbered, false, false},
      {"remove.exe", std::nullopt, numbered, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.uninstaller) + " / " + c.recorded.value_or("(none)"));
    Machine t;
    t.Install({}, c.language);
    for (const char* folder : {"C:\\Victim", "C:\\Program Files\\Stars\\sub", "C:\\windows\\system32"})
      t.r.fake.files.AddFolder(folder);
    t.r.fake.files.SetShortPath(kFolder, "C:\\PROGRA~1\\STARS\\");
    const std::string uninstaller = std::string(kFolder) + c.uninstaller;
    t.r.fake.files.AddFile(uninstaller, t.uninstallerBytes);
    if (std::string(c.uninstaller) == "UNINST~1.EXE")
      t.r.fake.files.SetShortPath(std::string(kFolder) + "uninstall stars1.exe", uninstaller);
    t.r.fake.system.SetModulePath(uninstaller);
    t.r.fake.files.AddFile(c.planted, "somebody's");
    if (c.recorded) t.r.fake.registry.SetString(RegRoot::kCurrentUser, kSaverKey, "FileName_", *c.recorded);
    else t.r.fake.registry.OpenKey(RegRoot::kCurrentUser, kSaverKey)->DeleteValue("FileName_");
    t.Remove();
    EXPECT_EQ(t.r.fake.files.HasFile(c.planted), !c.plantedDeleted) << t.r.fake.log.Dump();
    EXPECT_EQ(t.r.fake.files.HasFile(kSaver), !c.saverDeleted);
    // Nothing of ours deleted: the closing message must not say the removal is complete.
    ASSERT_EQ(t.r.fake.shell.Executions().size(), 1u);
    const bool complete = t.r.fake.shell.Executions()[0].parameters.find("successfully") != std::string::npos;
    EXPECT_EQ(complete, c.plantedDeleted || c.saverDeleted);
  }
}

TEST_F(Uninstaller, WithoutRecordedPathOnlyTheNamePartIsDeletedNextToTheUninstaller) {
  struct Case {
    std::string recordFileName;
    bool saverDeleted;  // the file next to the uninstaller
  };
  const std::vector<Case> cases = {
      {"stars.scr", true},          {"D:\\Elsewhere\\stars.scr", true}, {"..\\stars.scr", true},
      {"C:stars.scr", true},        {"D:stars.scr", true},              {"sub/../../stars.scr", true},
      {"\\stars.scr", true},        {"..", false},                      {"D:\\Elsewhere\\", false},
  };
  // Every file any of these forms could name if taken as it stands.
  const std::vector<std::string> notOurs = {"D:\\Elsewhere\\stars.scr", "C:\\Users\\stars.scr",
                                            "C:\\stars.scr", "D:\\stars.scr", "C:\\Program Files\\stars.scr"};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.recordFileName);
    Machine t;
    t.Install();
    support::SetupContents contents = support::StarsContents();
    contents.readme = "Read me.";
    contents.record.SetScreensaverFileName(c.recordFileName);
    t.r.fake.files.AddFile(kUninstaller, rig::AsUninstaller(rig::SetupFile(contents)));
    t.r.fake.registry.SetString(RegRoot::kCurrentUser, kSaverKey, "Other", "x");
    t.r.fake.registry.SetValue(RegRoot::kCurrentUser, kSaverKey, "FileName_", os::RegValue{os::kRegSz, ""});
    for (const std::string& path : notOurs) t.r.fake.files.AddFile(path, "not ours");
    t.r.fake.files.SetCurrentFolder("C:\\Users");
    t.Remove();
    for (const std::string& path : notOurs) EXPECT_TRUE(t.r.fake.files.HasFile(path)) << path << "\n" << t.r.fake.log.Dump();
    EXPECT_EQ(t.r.fake.files.HasFile(kSaver), !c.saverDeleted);
    // The readme is looked for next to the uninstaller too.
    EXPECT_FALSE(t.r.fake.files.HasFile(kReadme));
  }
}

TEST_F(Uninstaller, FailingProgramsFolderEndsAfterTheCopyWasStarted) {
  Install();
  r.fake.shell.SetSpecialFolder(os::kCsidlPrograms, std::nullopt);
  const uninstall::UninstallOutcome outcome = Remove();
  EXPECT_EQ(outcome.result, integration::RunResult::kFailedPartWay);
  ASSERT_TRUE(outcome.cause);
  EXPECT_EQ(outcome.cause->step, "find the shell folder " + std::to_string(os::kCsidlPrograms));
  EXPECT_FALSE(outcome.message);
  EXPECT_EQ(r.fake.shell.Executions().size(), 1u);
  EXPECT_FALSE(r.fake.registry.HasKey(RegRoot::kLocalMachine, kEntry));
  EXPECT_TRUE(r.fake.files.HasFile(kDesktopLink)) << "the steps after the failure are skipped";
  EXPECT_EQ(r.fake.system.Messages().size(), 1u) << "the question only: the caller reports the error";
}

TEST_F(Uninstaller, DamagedPackageOrRecordRemovesNothing) {
  struct Case {
    const char* name;
    std::function<void(std::string&)> damage;
  };
  const std::vector<Case> cases = {
      {"record marker", [](std::string& b) { b[b.size() - 942 + 920] = 'X'; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Machine t;
    t.Install();
    std::string bytes = t.uninstallerBytes;
    c.damage(bytes);
    t.r.fake.files.AddFile(kUninstaller, bytes);
    bool failed = false;
    try {
      t.Remove();
    } catch (const std::exception&) {
      failed = true;  // before anything was removed: the error passes as it is
    }
    EXPECT_EQ(t.r.fake.log.Count("ModulePath"), 1) << "the procedure ran";
    EXPECT_TRUE(failed);
    EXPECT_TRUE(t.r.fake.files.HasFile(kSaver));
    EXPECT_TRUE(t.r.fake.shell.Executions().empty());
    EXPECT_EQ(t.r.fake.log.Count("DeleteFile"), 0);
    EXPECT_EQ(t.r.fake.system.Messages().size(), 0u) << "no confirmation for a damaged record";
  }
}

TEST_F(Uninstaller, UntrustedTranslationsNeverCrash) {
  struct Case {
    std::string question, success;
    std::string expectedQuestion, expectedSuccess;
  };
  const std::vector<Case> cases = {
      {"%s%s%n %d %", "100%% gone: %s", "Stars%s%n %d %", "100% gone: Stars"},
      {"Remove it?", "%", "Remove it?", "%"},
      {"%%s %s", "%s%s", "%s Stars", "Stars%s"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.question);
    Machine t;
    t.Install(Flags{}, "Setup\r\nAre you sure you want to remove %s and its components?=" + c.question +
                           "\r\n%s has been successfully removed from your computer.=" + c.success + "\r\n");
    t.Remove();
    ASSERT_FALSE(t.r.fake.system.Messages().empty());
    EXPECT_EQ(t.r.fake.system.Messages()[0].text, c.expectedQuestion);
    ASSERT_EQ(t.r.fake.shell.Executions().size(), 1u);
    const std::string& params = t.r.fake.shell.Executions()[0].parameters;
    EXPECT_EQ(params.substr(params.size() - c.expectedSuccess.size() - 1), c.expectedSuccess + "\"");
  }
}

TEST_F(Uninstaller, TitleWithQuoteOrLongPathStillNamesTheUninstallerSecond) {
  struct Case {
    const char* name;
    std::string title;
    std::optional<std::string> shortPath;  // nullopt: the volume keeps no short names
    std::string expectedArgument;
  };
  const std::vector<Case> cases = {
      {"quote in title", "Star\"s", kShortUninstaller, kShortUninstaller},
      {"no short names", "Stars", std::nullopt, kUninstaller},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Machine t;
    t.Install(Flags{}, "", c.title);
    t.r.fake.files.SetShortPath(kUninstaller, c.shortPath.value_or(kUninstaller));
    t.Remove();
    ASSERT_EQ(t.r.fake.shell.Executions().size(), 1u);
    const auto args = app::CommandLine::Parse("copy.exe " + t.r.fake.shell.Executions()[0].parameters);
    EXPECT_EQ(args.Arg(1), "-delfile");
    EXPECT_EQ(args.Arg(2), c.expectedArgument);
  }
}

TEST_F(Uninstaller, NoTemporaryFolderOrFailedCopyStartsNothingAndLeavesNothing) {
  struct Case {
    const char* name;
    std::function<void(fake::FakeOs&)> inject;
  };
  const std::vector<Case> cases = {
      {"copy fails", [](fake::FakeOs& f) { f.FailOn("CopyFile"); }},
      {"no temp, no windows folder",
       [](fake::FakeOs& f) {
         f.files.SetTempPath("");
         f.files.SetWindowsDirectory("");
       }},
      {"no fresh folder can be made", [](fake::FakeOs& f) { f.FailOn("CreatePrivateFolder"); }},
      {"no random bytes", [](fake::FakeOs& f) { f.FailOn("RandomBytes"); }},
      {"the copy does not start", [](fake::FakeOs& f) { f.shell.SetExecuteResult(2); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Machine t;
    t.Install();
    c.inject(t.r.fake);
    const uninstall::UninstallOutcome outcome = t.Remove();
    EXPECT_LE(t.r.fake.shell.Executions().size(), 1u);
    if (!t.r.fake.shell.Executions().empty()) {
      EXPECT_EQ(t.r.fake.shell.Executions()[0].file, kTempCopy);
    }
    for (const std::string& entry : t.r.fake.files.Entries())
      EXPECT_EQ(entry.find("ZUZOrilder"), std::string::npos) << entry;
    EXPECT_FALSE(t.r.fake.files.HasFile(kSaver));
    EXPECT_FALSE(t.r.fake.registry.HasKey(RegRoot::kLocalMachine, kEntry));
    EXPECT_EQ(outcome.result, integration::RunResult::kFailedPartWay) << "the uninstaller file stays";
    EXPECT_EQ(t.r.fake.system.Messages().size(), 1u) << "the question only: the caller shows the rest";
    ASSERT_TRUE(outcome.message);
    EXPECT_EQ(outcome.message->caption, "Screensaver Setup");
    EXPECT_EQ(outcome.message->icon, os::kMbIconWarning);
    const std::string& goodbye = outcome.message->text;
    EXPECT_NE(goodbye.find("These files stay; please delete them yourself:"), std::string::npos)
        << goodbye;
    EXPECT_NE(goodbye.find(kUninstaller), std::string::npos) << goodbye;
  }
}

// A name in the temporary folder that is already taken, by chance or by another user who
// guessed it, is never used: not a folder, not a file, not what lies inside.
TEST_F(Uninstaller, EachRunGetsAFreshFolderAndNeverATakenOne) {
  Install();
  r.fake.files.AddFile(kTempCopy, "planted");
  r.fake.files.AddFile("C:\\windows\\temp\\ZUZOrilder-090a0b0c0d0e0f10", "planted file");
  Remove();
  constexpr char kThirdDraw[] = "C:\\windows\\temp\\ZUZOrilder-1112131415161718";
  EXPECT_EQ(r.fake.files.Content(kTempCopy), "planted");
  EXPECT_EQ(r.fake.log.Count("CreatePrivateFolder"), 3);
  EXPECT_TRUE(r.fake.files.IsPrivateFolder(kThirdDraw));
  ASSERT_EQ(r.fake.shell.Executions().size(), 1u);
  EXPECT_EQ(r.fake.shell.Executions()[0].file, std::string(kThirdDraw) + "\\ZUZOrilderuninst0.exe");
  EXPECT_EQ(r.fake.files.Content(r.fake.shell.Executions()[0].file), uninstallerBytes);
}

// The window ends the program as the outcome says: the exit code, and the box -- the
// uninstaller's own in every mode, the corrupted-file message of start-up not in silent mode.
TEST(UninstallerWindow, EndsTheProgramAsTheOutcomeSays) {
  const std::string corrupted = "The file is corrupted. Setup can not continue.";
  const std::string uninstallerStays =
      "Stars has been removed from your computer, but some of its files could not be deleted.\n\n"
      "These files stay; please delete them yourself:\n" + std::string(kUninstaller);
  const auto copyFails = [](Machine& m) { m.r.fake.shell.SetExecuteResult(2); };
  const auto programsFail = [](Machine& m) { m.r.fake.shell.SetSpecialFolder(os::kCsidlPrograms, std::nullopt); };
  struct Case {
    const char* name;
    std::function<void(Machine&)> setUp;
    bool silent;
    int exitCode;
    std::string box;  // shown after the question; empty: none
    unsigned icon;
    bool ownedByWindow;
    bool yes = false;  // -silent -yes: nothing asked, nothing shown, no goodbye from the copy
    std::vector<std::string> logged = {};  // lines the run's log must hold; empty: run without one
  };
  const std::string settings = "Registry value deleted: HKCU\\" + std::string(kSaverKey);
  const std::vector<Case> cases = {
      {"yes", nullptr, false, app::kExitDone, "", 0, false},
      {"no", [](Machine& m) { m.r.fake.system.defaultYesNoAnswer = os::kIdNo; }, false,
       app::kExitStoppedUnchanged, "", 0, false},
      {"copy does not start", copyFails, false, app::kExitFailedPartWay, uninstallerStays,
       os::kMbIconWarning, true},
      {"copy does not start, -silent", copyFails, true, app::kExitFailedPartWay, uninstallerStays,
       os::kMbIconWarning, true},
      {"-silent -yes", nullptr, true, app::kExitDone, "", 0, false, true,
       {settings + ", value \"FileName_\"", settings + ", value \"Speed\"",
        "Registry key deleted: HKLM\\" + std::string(kEntry), "Link removed: " + kGroup + "Preview Stars.lnk",
        "Start-menu group removed: " + kGroup.substr(0, kGroup.size() - 1), "Link removed: " + kDesktopLink}},
      {"entry and a link stay, -silent -yes",
       [](Machine& m) {
         m.r.fake.FailOn("RegDeleteKey", kEntry);
         m.r.fake.FailOn("DeleteFile", kDesktopLink);
       },
       true, app::kExitFailedPartWay, "", 0, false, true,
       {"Failed: delete the registry key: HKLM\\" + std::string(kEntry) + ": error 5 (System text for 5)",
        "Failed: delete the link: " + kDesktopLink + ": error 5 (System text for 5)"}},
      {"another run, nothing asked", [](Machine& m) { m.r.fake.system.claimedElsewhere = {"ScreensaverSetup-5374617273"}; },
       true, app::kExitAnotherRunning, "", 0, false, false,
       {"Failed: start: another setup or uninstaller of this title is running: ScreensaverSetup-5374617273: error 183 (System text for 183)"}},
      {"copy does not start, -silent -yes", copyFails, true, app::kExitFailedPartWay, "", 0, false, true},
      {"cut short", programsFail, false, app::kExitFailedPartWay, corrupted, os::kMbIconError, false},
      {"cut short, -silent", programsFail, true, app::kExitFailedPartWay, "", 0, false},
      // Not a record of ours, and no reason to keep the screen saver.
      {"recorded path of another type",
       [](Machine& m) {
         m.r.fake.registry.SetValue(RegRoot::kCurrentUser, kSaverKey, "FileName_", os::RegValue{4, "\1\0\0\0"});
       },
       false, app::kExitDone, "", 0, false},
      {"damaged record, nothing asked",
       [](Machine& m) {
         std::string bytes = m.uninstallerBytes;
         bytes[bytes.size() - 942 + 920] = 'X';
         m.r.fake.files.AddFile(kUninstaller, bytes);
       },
       false, app::kExitUnreadable, corrupted, os::kMbIconError, false, false,
       {"Failed: The uninstaller's settings record is damaged.: " + std::string(kUninstaller),
        "Outcome: stopped, nothing changed"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Machine t;
    t.Install();
    if (c.setUp) c.setUp(t);
    if (!c.logged.empty()) t.r.log = runlog::RunLog(t.r.fake.files, t.r.fake.system, "C:\\l.txt");
    t.Uninstall(c.silent, c.yes);
    std::vector<fake::Message> boxes = t.r.fake.system.Messages();
    const bool damaged = std::string(c.name).find("nothing asked") != std::string::npos;
    if (c.yes) {
      ASSERT_EQ(t.r.fake.shell.Executions().size(), 1u);
      EXPECT_EQ(t.r.fake.shell.Executions()[0].parameters,
                std::string("-delfile ") + kShortUninstaller + (c.logged.empty() ? "" : " -log \"C:\\l.txt\""));
    } else if (!damaged) {
      ASSERT_FALSE(boxes.empty());
      EXPECT_EQ(boxes[0].flags, os::kMbYesNo | os::kMbIconQuestion);
      EXPECT_EQ(boxes[0].owner, t.r.host.handle);
      boxes.erase(boxes.begin());
    }
    ASSERT_EQ(boxes.size(), c.box.empty() ? 0u : 1u) << t.r.fake.log.Dump();
    if (!c.box.empty()) {
      EXPECT_EQ(boxes[0].text, c.box);
      EXPECT_EQ(boxes[0].caption, "Screensaver Setup");
      EXPECT_EQ(boxes[0].flags, os::kMbOk | c.icon);
      EXPECT_EQ(boxes[0].owner, c.ownedByWindow ? t.r.host.handle : 0u);
    }
    EXPECT_EQ(t.r.exitCode, c.exitCode);
    EXPECT_FALSE(t.r.wizard);
    if (c.exitCode == app::kExitDone) {
      EXPECT_FALSE(t.r.fake.files.HasFile(kSaver));
    }
    EXPECT_EQ(t.r.hiddenOwnerMade, c.exitCode != app::kExitAnotherRunning);
    const std::string written = t.r.fake.files.Content("C:\\l.txt").value_or("");
    for (const std::string& line : c.logged) EXPECT_NE(written.find("  " + line + "\r\n"), std::string::npos) << line << "\n" << written;
  }
}

}  // namespace
