// The uninstaller run end to end against the fakes: start-up finds the uninstaller signature
// and hands over to the uninstall procedure.
#include <gtest/gtest.h>

#include "form_create_rig.h"
#include "integration/saver_registry.h"
#include "integration/shortcuts.h"
#include "integration/uninstall_entry.h"

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

  void Uninstall(bool silent = false) { r.Start(silent ? std::vector<std::string>{"-silent"} : std::vector<std::string>{}, silent); }

  int At(const std::string& linePrefix) {
    const int index = r.fake.log.IndexOf(linePrefix);
    EXPECT_GE(index, 0) << "missing: " << linePrefix << "\n" << r.fake.log.Dump();
    return index;
  }

  bool ShowedCorruptedMessage() const {
    for (const fake::Message& m : r.fake.system.Messages())
      if (m.text == "The file is corrupted. Setup can not continue.") return true;
    return false;
  }

  rig::WizardRig r;
  std::string uninstallerBytes;
};

class Uninstaller : public ::testing::Test, public Machine {};

TEST_F(Uninstaller, YesRemovesEverythingInOrder) {
  Install();
  Uninstall();
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
  EXPECT_FALSE(fake.files.HasFile(kDesktopLink));
  EXPECT_FALSE(fake.files.HasFolder(kGroup));
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
  EXPECT_TRUE(r.host.hidden);
  EXPECT_TRUE(r.host.terminated);
  EXPECT_EQ(r.wizard->ExitCode(), wizard::kExitDone);
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
    t.Uninstall();
    EXPECT_TRUE(fake.files.HasFile(kSaver));
    EXPECT_EQ(fake.files.RebootDeletions(), c.atRestart);
    ASSERT_EQ(fake.shell.Executions().size(), 1u);
    const auto args = app::CommandLine::Parse("copy.exe " + fake.shell.Executions()[0].parameters);
    EXPECT_EQ(args.Count(), 4);
    EXPECT_EQ(args.Arg(4), c.message);
    EXPECT_FALSE(fake.registry.HasKey(RegRoot::kLocalMachine, kEntry)) << "the other steps still run";
    EXPECT_EQ(t.r.wizard->ExitCode(), wizard::kExitFailedPartWay);
  }
}

TEST_F(Uninstaller, NoRemovesNothingAndStartsNothing) {
  Install();
  r.fake.system.defaultYesNoAnswer = os::kIdNo;
  Uninstall();
  auto& log = r.fake.log;
  ASSERT_EQ(r.fake.system.Messages().size(), 1u);
  for (const char* op : {"DeleteFile", "CopyFile", "ShellExecute", "RegDeleteKey", "RegDeleteValue", "RemoveFolder",
                         "RegQueryValue", "RegCreateKey"})
    EXPECT_EQ(log.Count(op), 0) << op << "\n" << log.Dump();
  EXPECT_TRUE(r.host.hidden);
  EXPECT_TRUE(r.host.terminated);
  EXPECT_EQ(r.wizard->ExitCode(), wizard::kExitStoppedUnchanged);
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
    t.Uninstall();
    EXPECT_EQ(t.r.fake.registry.HasKey(RegRoot::kLocalMachine, kEntry), c.entryKept);
    EXPECT_EQ(t.r.fake.files.HasFile(kGroup + "Uninstall Stars.lnk"), c.groupKept);
    EXPECT_EQ(t.r.fake.files.HasFile(kDesktopLink), c.desktopKept);
    EXPECT_FALSE(t.r.fake.files.HasFile(kSaver));
    EXPECT_EQ(t.r.fake.shell.Executions().size(), 1u);
  }
}

// The record can be changed by any program the user runs, and the uninstaller often runs with
// administrator rights: a recorded path is taken only inside the uninstaller's own folder, else
// the record's file name beside the uninstaller is.
TEST_F(Uninstaller, ARecordedPathIsTakenOnlyInsideItsOwnFolder) {
  struct Case {
    const char* recorded;
    bool taken;
  };
  const Case cases[] = {
      {"C:\\Program Files\\Stars\\other.scr", true},
      {"c:\\PROGRAM FILES\\stars\\other.scr", true},
      {"C:\\PROGRA~1\\STARS\\other.scr", true},
      {"C:\\Victim\\other.scr", false},
      {"C:\\Program Files\\Stars\\..\\Victim\\other.scr", false},
      {"C:\\Program Files\\Stars\\sub\\other.scr", false},
      // Windows takes a slash for a backslash: the name behind the last backslash is no name.
      {"C:\\Program Files\\Stars\\../Victim/other.scr", false},
      {"C:\\Program Files\\Stars\\sub/other.scr", false},
      {"C:\\Program Files\\Stars\\", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.recorded);
    Machine t;
    t.Install();
    for (const char* folder : {"C:\\Victim", "C:\\Program Files\\Stars\\sub"}) t.r.fake.files.AddFolder(folder);
    t.r.fake.files.SetShortPath(kFolder, "C:\\PROGRA~1\\STARS\\");
    const std::string planted = std::string(c.taken ? kFolder : "C:\\Victim\\") + "other.scr";
    t.r.fake.files.AddFile(planted, "somebody's");
    t.r.fake.registry.SetString(RegRoot::kCurrentUser, kSaverKey, "FileName_", c.recorded);
    t.Uninstall();
    EXPECT_EQ(t.r.fake.files.HasFile(planted), !c.taken) << t.r.fake.log.Dump();
    // Not taken: the record's own file name beside the uninstaller goes instead.
    EXPECT_EQ(t.r.fake.files.HasFile(kSaver), c.taken);
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
    // A system reporting 10.0 keeps the record's file name as it stands (no short-name rule).
    t.r.fake.system.SetVersion(os::VersionInfo{2, 10, 0, ""});
    t.Uninstall();
    for (const std::string& path : notOurs) EXPECT_TRUE(t.r.fake.files.HasFile(path)) << path << "\n" << t.r.fake.log.Dump();
    EXPECT_EQ(t.r.fake.files.HasFile(kSaver), !c.saverDeleted);
    // The readme is looked for next to the uninstaller too.
    EXPECT_FALSE(t.r.fake.files.HasFile(kReadme));
  }
}

TEST_F(Uninstaller, FailingProgramsFolderEndsAfterTheCopyWasStarted) {
  Install();
  r.fake.shell.SetSpecialFolder(os::kCsidlPrograms, std::nullopt);
  Uninstall();
  EXPECT_EQ(r.fake.shell.Executions().size(), 1u);
  EXPECT_FALSE(r.fake.registry.HasKey(RegRoot::kLocalMachine, kEntry));
  EXPECT_TRUE(r.fake.files.HasFile(kDesktopLink)) << "the steps after the failure are skipped";
  EXPECT_TRUE(ShowedCorruptedMessage());
  EXPECT_TRUE(r.host.terminated);
  EXPECT_EQ(r.wizard->ExitCode(), wizard::kExitFailedPartWay) << "the removal was cut short";
}

TEST_F(Uninstaller, DamagedPackageOrRecordRemovesNothing) {
  struct Case {
    const char* name;
    std::function<void(std::string&)> damage;
  };
  const std::vector<Case> cases = {
      {"record marker", [](std::string& b) { b[b.size() - 942 + 920] = 'X'; }},
      {"recorded path of another type",
       [](std::string&) {}},  // set up below through the registry
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Machine t;
    t.Install();
    std::string bytes = t.uninstallerBytes;
    c.damage(bytes);
    t.r.fake.files.AddFile(kUninstaller, bytes);
    const bool badValue = std::string(c.name) == "recorded path of another type";
    if (badValue) t.r.fake.registry.SetValue(RegRoot::kCurrentUser, kSaverKey, "FileName_", os::RegValue{4, "\1\0\0\0"});
    t.Uninstall();
    EXPECT_TRUE(t.r.fake.files.HasFile(kSaver));
    EXPECT_TRUE(t.r.fake.shell.Executions().empty());
    EXPECT_EQ(t.r.fake.log.Count("DeleteFile"), 0);
    EXPECT_EQ(t.r.fake.system.Messages().size(), badValue ? 2u : 1u) << "no confirmation for a damaged record";
    EXPECT_TRUE(t.ShowedCorruptedMessage());
    EXPECT_EQ(t.r.wizard->ExitCode(), wizard::kExitUnreadable);
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
    t.Uninstall();
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
    t.Uninstall();
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
    t.Uninstall();
    EXPECT_LE(t.r.fake.shell.Executions().size(), 1u);
    if (!t.r.fake.shell.Executions().empty()) {
      EXPECT_EQ(t.r.fake.shell.Executions()[0].file, kTempCopy);
    }
    for (const std::string& entry : t.r.fake.files.Entries())
      EXPECT_EQ(entry.find("ZUZOrilder"), std::string::npos) << entry;
    EXPECT_FALSE(t.r.fake.files.HasFile(kSaver));
    EXPECT_FALSE(t.r.fake.registry.HasKey(RegRoot::kLocalMachine, kEntry));
    EXPECT_FALSE(t.ShowedCorruptedMessage());
    EXPECT_EQ(t.r.wizard->ExitCode(), wizard::kExitFailedPartWay) << "the uninstaller file stays";
    ASSERT_FALSE(t.r.fake.system.Messages().empty());
    const std::string& goodbye = t.r.fake.system.Messages().back().text;
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
  Uninstall();
  constexpr char kThirdDraw[] = "C:\\windows\\temp\\ZUZOrilder-1112131415161718";
  EXPECT_EQ(r.fake.files.Content(kTempCopy), "planted");
  EXPECT_EQ(r.fake.log.Count("CreatePrivateFolder"), 3);
  EXPECT_TRUE(r.fake.files.IsPrivateFolder(kThirdDraw));
  ASSERT_EQ(r.fake.shell.Executions().size(), 1u);
  EXPECT_EQ(r.fake.shell.Executions()[0].file, std::string(kThirdDraw) + "\\ZUZOrilderuninst0.exe");
  EXPECT_EQ(r.fake.files.Content(r.fake.shell.Executions()[0].file), uninstallerBytes);
}

}  // namespace
