#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "start_up_rig.h"
#include "text/text_lines.h"

namespace {

using rig::WizardRig;
using wizard::TSCRSetup;

constexpr char kCorruptedEnglish[] = "The file is corrupted. Setup can not continue.";

struct FirstPageCase {
  const char* name;
  bool license;
  bool skipFolderPage;
  int page;
  bool backVisible;
  bool nextEnabled;
  std::string nextCaption;
};

const FirstPageCase kFirstPageCases[] = {
    {"LicenseComesFirst", true, false, wizard::kPageLicense, true, false, "Suivant >"},
    {"LicenseComesFirstEvenWhenFolderSkipped", true, true, wizard::kPageLicense, true, false,
     "Suivant >"},
    {"NoLicenseStartsOnFolder", false, false, wizard::kPageDirectory, false, true, "Installer"},
    {"NoLicenseFolderSkippedStartsReady", false, true, wizard::kPageReady, false, true,
     "Installer"},
};

class FirstPageTest : public ::testing::TestWithParam<FirstPageCase> {};

TEST_P(FirstPageTest, StartsOnTheRightPageWithItsHeaderAndButtons) {
  const FirstPageCase& c = GetParam();
  WizardRig rig;
  support::SetupContents contents = support::StarsContents();
  contents.language = rig::kFrench;
  if (c.license) contents.license = "Terms\r\nMore terms";
  contents.record.SetSkipFolderPage(c.skipFolderPage);
  TSCRSetup& w = rig.StartWith(contents);

  EXPECT_EQ(w.CurrentPage(), c.page);
  EXPECT_EQ(w.btnBack.Visible(), c.backVisible);
  EXPECT_EQ(w.btnNext.Enabled(), c.nextEnabled);
  EXPECT_TRUE(w.btnNext.Visible());
  EXPECT_EQ(w.btnNext.Caption(), c.nextCaption);
  EXPECT_TRUE(w.btnCancel.Enabled());
  // The header is filled also when the designed 'Ready' page stays: its title is translated.
  EXPECT_EQ(w.lbTitle.Caption(), language::PageTitles[c.page]);
  if (c.page == wizard::kPageReady) {
    EXPECT_EQ(w.lbTitle.Caption(), "Pret a installer");
  }
  EXPECT_TRUE(w.rbNotAccept.Checked());
  EXPECT_FALSE(w.rbAccept.Checked());
  EXPECT_TRUE(rig.fake.system.Messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Table, FirstPageTest, ::testing::ValuesIn(kFirstPageCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FormCreate, FillsCaptionTextsLinkAndFolderFromThePackage) {
  WizardRig rig;
  support::SetupContents contents = support::StarsContents();
  const std::string title32 = "A Title Of Exactly 32 Characters";
  ASSERT_EQ(title32.size(), 32u);
  contents.record.SetTitle(title32);
  contents.language = rig::kFrench;
  contents.readme = std::string("first\r\nsecond\nthird\rfourth\r\n\0hidden", 35);
  contents.license = "licence line 1\nlicence line 2";
  TSCRSetup& w = rig.StartWith(contents);

  EXPECT_EQ(w.Window.Caption(), title32 + " Installation");
  EXPECT_EQ(w.Link.Caption(), "http://stars.example.org/");
  EXPECT_TRUE(w.Link.Visible());
  EXPECT_EQ(w.edReadme.Lines(), (std::vector<std::string>{"first", "second", "third", "fourth"}));
  EXPECT_EQ(w.edLicense.Lines(), (std::vector<std::string>{"licence line 1", "licence line 2"}));
  EXPECT_EQ(w.edDirectory.Caption(), "C:\\Program Files\\Stars\\");
  EXPECT_EQ(w.btnBack.Caption(), "< Retour");
  EXPECT_EQ(w.LanguageText, rig::kFrench);
  EXPECT_EQ(w.PackageEnd, static_cast<int64_t>(rig::SetupFile(contents).size()));
  // The own file is closed again once the package is read.
  EXPECT_EQ(rig.fake.files.OpenHandles(rig::kSetupPath), 0);
}

TEST(FormCreate, EmptyLinkTextHidesTheLinkAndItsDesignText) {
  WizardRig rig;
  support::SetupContents contents = support::StarsContents();
  contents.record.SetLinkText("");
  TSCRSetup& w = rig.StartWith(contents);
  EXPECT_FALSE(w.Link.Visible());
  EXPECT_EQ(w.Window.Caption(), "Stars Setup");
}

TEST(FormCreate, DataAppendedBehindThePackageIsIgnored) {
  WizardRig rig;
  support::SetupContents contents = support::StarsContents();
  contents.readme = "read me";
  const std::string file = rig::SetupFile(contents);
  rig.PutOwnFile(file + std::string(100, 'T'));
  TSCRSetup& w = rig.Start();
  EXPECT_EQ(w.PackageEnd, static_cast<int64_t>(file.size()));
  EXPECT_EQ(w.edReadme.Lines(), std::vector<std::string>{"read me"});
}

TEST(FormCreate, FormDestroyReleasesTheTranslation) {
  WizardRig rig;
  support::SetupContents contents = support::StarsContents();
  contents.language = rig::kFrench;
  TSCRSetup& w = rig.StartWith(contents);
  EXPECT_EQ(language::Translate("Back"), "Retour");
  w.FormDestroy();
  EXPECT_EQ(language::Translate("Back"), "Back");
}

// How a setup file gets damaged, and whether the language text was loaded before it showed.
struct CorruptionCase {
  const char* name;
  void (*damage)(std::string& file, WizardRig& rig);
  bool translated;
};

void SetInt32At(std::string& file, std::size_t position, int32_t value) {
  for (int i = 0; i < 4; ++i) file[position + i] = static_cast<char>((uint32_t(value) >> (8 * i)) & 0xFF);
}
std::size_t RecordAt(const std::string& file) { return file.size() - 942; }

const CorruptionCase kCorruptionCases[] = {
    {"NoSignatureAnywhere",
     [](std::string& f, WizardRig&) { f.replace(f.size() - 10, 10, "XXXXXX.sig"); }, false},
    {"FileShorterThanTheRecord",
     [](std::string& f, WizardRig&) { f = "tiny" + f.substr(f.size() - 10); }, false},
    {"NegativeLanguageSize",
     [](std::string& f, WizardRig&) { SetInt32At(f, RecordAt(f) + 412, -5); }, false},
    {"TextsReachBeforeTheFile",
     [](std::string& f, WizardRig&) { SetInt32At(f, RecordAt(f) + 400, 0x7FFFFFF0); }, false},
    {"ReadOfTheRecordFails",
     [](std::string&, WizardRig& r) {
       r.fake.FailWhen([](const fake::Call& c) { return c.op == "Read" && c.detail == "932"; });
     },
     false},
    {"ImageLongerThanTheFile",
     [](std::string& f, WizardRig&) { SetInt32At(f, RecordAt(f), 0x7FFFFFF0); }, true},
    {"NegativeImageLength",
     [](std::string& f, WizardRig&) { SetInt32At(f, RecordAt(f), 100); }, true},
    {"LicenceSizeNegative",
     [](std::string& f, WizardRig&) { SetInt32At(f, RecordAt(f) + 408, -1); }, false},
};

// Start-up ended because its own file cannot be used: no wizard, the unreadable-file code, and
// unless silent one error box with the program's caption. The box's text, or "" when there is none.
std::string ExpectUnreadableEnd(const WizardRig& rig, bool silent) {
  EXPECT_FALSE(rig.wizard);
  EXPECT_EQ(rig.exitCode, app::kExitUnreadable);
  const auto& messages = rig.fake.system.Messages();
  if (silent) {
    EXPECT_TRUE(messages.empty());
    return "";
  }
  EXPECT_EQ(messages.size(), 1u);
  if (messages.empty()) return "";
  EXPECT_EQ(messages[0].caption, "Screensaver Setup");
  EXPECT_EQ(messages[0].flags, 0x10u);
  return messages[0].text;
}

class CorruptedFileTest : public ::testing::TestWithParam<std::tuple<CorruptionCase, bool>> {};

TEST_P(CorruptedFileTest, EndsWithOneMessageOrSilently) {
  const CorruptionCase& c = std::get<0>(GetParam());
  const bool silent = std::get<1>(GetParam());
  WizardRig rig;
  support::SetupContents contents = support::StarsContents();
  contents.language = rig::kFrench;
  contents.readme = "readme";
  std::string file = rig::SetupFile(contents);
  c.damage(file, rig);
  rig.PutOwnFile(file);
  rig.Run(silent ? std::vector<std::string>{"-silent", "C:\\Elsewhere"} : std::vector<std::string>{});

  const std::string expected = c.translated ? "Le fichier est endommage." : kCorruptedEnglish;
  EXPECT_EQ(ExpectUnreadableEnd(rig, silent), silent ? "" : expected);
  // Nothing of the rest of start-up ran: no folder, no installation.
  EXPECT_EQ(rig.fake.log.Count("SpecialFolder"), 0);
  EXPECT_FALSE(rig.fake.files.HasFolder("C:\\Elsewhere"));
  EXPECT_EQ(rig.fake.log.Count("CreateFolder"), 0);
  EXPECT_EQ(rig.fake.files.OpenHandles(rig::kSetupPath), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CorruptedFileTest,
    ::testing::Combine(::testing::ValuesIn(kCorruptionCases), ::testing::Bool()),
    [](const auto& info) {
      return std::string(std::get<0>(info.param).name) + (std::get<1>(info.param) ? "Silent" : "");
    });

TEST(FormCreate, OwnFileThatCannotBeOpenedEndsWithAMessageNamingIt) {
  struct Case {
    const char* name;
    std::function<void(WizardRig&)> inject;
    std::string named;  // what the message must name
  };
  const std::vector<Case> cases = {
      {"open fails", [](WizardRig& r) { r.fake.FailOn("OpenFile", "setup.exe"); }, rig::kSetupPath},
      // The system could give no name for it that the ANSI calls reach.
      {"no usable own path", [](WizardRig& r) { r.fake.system.SetModulePath(""); }, "code page"},
  };
  for (const Case& c : cases) {
    for (const bool silent : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (silent ? " silent" : ""));
      WizardRig rig;
      rig.PutOwnFile(rig::SetupFile(support::StarsContents()));
      c.inject(rig);
      rig.Run(silent ? std::vector<std::string>{"-silent"} : std::vector<std::string>{});
      const std::string text = ExpectUnreadableEnd(rig, silent);
      if (!silent) {
        EXPECT_NE(text.find(c.named), std::string::npos) << text;
      }
      EXPECT_EQ(rig.fake.log.Count("Read"), 0);
    }
  }
}

struct FileNameRuleCase {
  const char* name;
  std::optional<os::VersionInfo> version;
  std::string expected;
};

const FileNameRuleCase kFileNameRuleCases[] = {
    {"WindowsXpShortens", os::VersionInfo{2, 5, 1, "Service Pack 3"}, "My_Scree.scr"},
    {"Windows2000Shortens", os::VersionInfo{2, 5, 0, ""}, "My_Scree.scr"},
    {"SevenShortens", os::VersionInfo{2, 6, 1, ""}, "My_Scree.scr"},
    {"Server2003KeepsLongName", os::VersionInfo{2, 5, 2, ""}, "My Screen Saver.scr"},
    {"TenKeepsLongName", os::VersionInfo{2, 10, 0, ""}, "My Screen Saver.scr"},
    {"Windows98KeepsLongName", os::VersionInfo{1, 4, 10, " A "}, "My Screen Saver.scr"},
    {"UnknownVersionKeepsLongName", std::nullopt, "My Screen Saver.scr"},
};

class FileNameRuleTest : public ::testing::TestWithParam<FileNameRuleCase> {};

TEST_P(FileNameRuleTest, AppliesFromWindows2000To6x) {
  WizardRig rig;
  rig.fake.system.SetVersion(GetParam().version);
  support::SetupContents contents = support::StarsContents();
  contents.record.SetScreensaverFileName("My Screen Saver.scr");
  TSCRSetup& w = rig.StartWith(contents);
  EXPECT_EQ(w.Record.ScreensaverFileName(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, FileNameRuleTest, ::testing::ValuesIn(kFileNameRuleCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FormCreate, UninstallerSignatureRunsTheUninstallerAndNeverTheWizard) {
  WizardRig rig;
  support::SetupContents contents = support::StarsContents();
  contents.license = "terms";
  // An uninstaller keeps the setup file's PackageSize, which need not fit its own size.
  std::string file = rig::AsUninstaller(rig::SetupFile(contents));
  SetInt32At(file, RecordAt(file), 0x40000000);
  rig.PutOwnFile(file);
  rig.fake.system.defaultYesNoAnswer = os::kIdNo;
  rig.Run();

  const auto& messages = rig.fake.system.Messages();
  ASSERT_EQ(messages.size(), 1u) << rig.fake.log.Dump();
  EXPECT_EQ(messages[0].flags & os::kMbYesNo, os::kMbYesNo);
  EXPECT_NE(messages[0].text.find("Stars"), std::string::npos);
  EXPECT_EQ(messages[0].owner, rig.host.handle);
  EXPECT_TRUE(rig.hiddenOwnerMade);
  // The setup branch did not run: no wizard, no licence read, no folder.
  EXPECT_FALSE(rig.wizard);
  EXPECT_EQ(rig.fake.log.Count("SpecialFolder"), 0);
  EXPECT_EQ(rig.exitCode, app::kExitStoppedUnchanged);
}

TEST(FormCreate, UninstallerWithoutRecordMarkerIsACorruptedFile) {
  WizardRig rig;
  std::string file = rig::AsUninstaller(rig::SetupFile(support::StarsContents()));
  file.replace(RecordAt(file) + 920, 10, "XXXXXXXXXX");
  rig.PutOwnFile(file);
  rig.Run();
  const auto& messages = rig.fake.system.Messages();
  ASSERT_EQ(messages.size(), 1u) << rig.fake.log.Dump();
  EXPECT_EQ(messages[0].text, kCorruptedEnglish);
  EXPECT_EQ(rig.exitCode, app::kExitUnreadable);
}

struct SilentCase {
  const char* name;
  std::vector<std::string> arguments;
  bool license;
  std::string installedFile;
};

const SilentCase kSilentCases[] = {
    {"DefaultFolder", {"-silent"}, false, "C:\\Program Files\\Stars\\stars.scr"},
    {"FolderArgumentUsedUnchanged", {"-silent", "C:\\My Savers"}, false,
     "C:\\My Savers\\stars.scr"},
    {"EmptyFolderArgumentMeansDefault", {"-silent", ""}, false,
     "C:\\Program Files\\Stars\\stars.scr"},
    {"LicenceNeedsNoAcceptance", {"-silent"}, true, "C:\\Program Files\\Stars\\stars.scr"},
};

class SilentInstallTest : public ::testing::TestWithParam<SilentCase> {};

TEST_P(SilentInstallTest, InstallsWithoutAnyWindowAndEnds) {
  const SilentCase& c = GetParam();
  WizardRig rig;
  support::SetupContents contents = support::StarsContents();
  if (c.license) contents.license = "terms";
  rig.PutOwnFile(rig::SetupFile(contents));
  rig.Run(c.arguments);

  EXPECT_TRUE(rig.fake.system.Messages().empty()) << rig.fake.log.Dump();
  EXPECT_EQ(rig.fake.files.Content(c.installedFile), contents.image) << rig.fake.log.Dump();
  EXPECT_EQ(rig.exitCode, app::kExitDone);
  EXPECT_FALSE(rig.wizard);
}

INSTANTIATE_TEST_SUITE_P(Table, SilentInstallTest, ::testing::ValuesIn(kSilentCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Before anything was done: a folder the installation cannot use, or another setup or
// uninstaller of the same title running, on this machine in any session.
TEST(FormCreate, ARunThatStopsEarlyStillEndsTheProgram) {
  struct Case {
    const char* name;
    bool uninstaller;
    bool silent;
    bool otherRun;
    int exitCode;
    std::string box;  // empty: none
  };
  const std::string running = "Setup of Stars is already running.";
  const Case cases[] = {
      {"folder not usable", false, true, false, app::kExitStoppedUnchanged, ""},
      {"another run, unattended", false, true, true, app::kExitAnotherRunning, ""},
      {"another run, wizard", false, false, true, app::kExitAnotherRunning, running},
      {"another run, uninstaller", true, false, true, app::kExitAnotherRunning, running},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WizardRig rig;
    const std::string setupFile = rig::SetupFile(support::StarsContents());
    rig.PutOwnFile(c.uninstaller ? rig::AsUninstaller(setupFile) : setupFile);
    if (c.otherRun) rig.fake.system.claimedElsewhere = {"ScreensaverSetup-5374617273"};  // "Stars"
    rig.Run(c.silent ? std::vector<std::string>{"-silent", "Q:\\no drive\\here"} : std::vector<std::string>{});
    const auto& boxes = rig.fake.system.Messages();
    ASSERT_EQ(boxes.size(), c.box.empty() ? 0u : 1u);
    if (!c.box.empty()) {
      EXPECT_EQ(boxes[0].text, c.box);
    }
    EXPECT_FALSE(rig.wizard);
    EXPECT_EQ(rig.exitCode, c.exitCode);
    for (const char* op : {"Write", "DeleteFile", "RegSetValue", "ShellExecute"})
      EXPECT_EQ(rig.fake.log.Count(op), 0) << op;
  }
}

struct LinesCase {
  const char* name;
  std::string text;
  std::vector<std::string> lines;
};

const LinesCase kLinesCases[] = {
    {"Empty", "", {}},
    {"OneLineNoBreak", "abc", {"abc"}},
    {"CrLf", "a\r\nb", {"a", "b"}},
    {"LoneLf", "a\nb", {"a", "b"}},
    {"LoneCr", "a\rb", {"a", "b"}},
    {"LfCrIsTwoBreaks", "a\n\rb", {"a", "", "b"}},
    {"FinalBreakAddsNoLine", "a\r\n", {"a"}},
    {"EmptyLinesKept", "a\r\n\r\nb\n\n", {"a", "", "b", ""}},
    {"OnlyBreak", "\r\n", {""}},
    {"NulEndsText", std::string("a\r\nb\0c\r\nd", 9), {"a", "b"}},
    {"NulRightAfterCr", std::string("a\r\0\nb", 5), {"a"}},
    {"LeadingNul", std::string("\0abc", 4), {}},
};

class SplitTextLinesTest : public ::testing::TestWithParam<LinesCase> {};

TEST_P(SplitTextLinesTest, CutsAtEveryLineBreakConvention) {
  EXPECT_EQ(text::SplitTextLines(GetParam().text), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(Table, SplitTextLinesTest, ::testing::ValuesIn(kLinesCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
