// Making and removing the desktop shortcut and the Start-menu group against the fake shell.
#include <gtest/gtest.h>

#include "integration/integration_errors.h"
#include "integration/shell_link.h"
#include "integration/shortcuts.h"
#include "language/translation.h"
#include "support/fake_os.h"

namespace {

const std::string kDesktop = std::string(fake::kFakeDesktop) + "\\";
const std::string kPrograms = std::string(fake::kFakePrograms) + "\\";
constexpr char kSaver[] = "C:\\Savers\\stars.scr";
constexpr char kUninstaller[] = "C:\\Savers\\uninstall stars.exe";

class Shortcuts : public ::testing::Test {
 protected:
  Shortcuts() { language::FreeTranslation(); }
  ~Shortcuts() override { language::FreeTranslation(); }
  void ExpectLink(const std::string& linkPath, const std::string& target) {
    const auto link = fake.shell.LinkAt(linkPath);
    ASSERT_TRUE(link) << linkPath << "\n" << fake.log.Dump();
    EXPECT_EQ(link->target, target);
    EXPECT_EQ(link->iconPath, target);
    EXPECT_EQ(link->iconIndex, 0);
  }
  fake::FakeOs fake;
  os::Os os{fake.Os()};
};

TEST_F(Shortcuts, GroupHoldsPreviewReadmeAndUninstall) {
  for (bool hasReadme : {true, false}) {
    SCOPED_TRACE(hasReadme);
    fake::FakeOs local;
    os::Os localOs = local.Os();
    integration::CreateStartMenuGroup(localOs, "Stars", kUninstaller, kSaver, hasReadme);
    const std::string group = kPrograms + "Stars\\";
    EXPECT_TRUE(local.files.HasFolder(group));
    ASSERT_TRUE(local.shell.LinkAt(group + "Preview Stars.lnk"));
    EXPECT_EQ(local.shell.LinkAt(group + "Preview Stars.lnk")->target, kSaver);
    EXPECT_EQ(local.shell.LinkAt(group + "Uninstall Stars.lnk")->target, kUninstaller);
    const auto readme = local.shell.LinkAt(group + "Readme.lnk");
    EXPECT_EQ(readme.has_value(), hasReadme);
    if (readme) {
      EXPECT_EQ(readme->target, "C:\\Savers\\Stars Readme.txt");
    }
  }
}

TEST_F(Shortcuts, DesktopLinkAndTranslatedNamesRoundTrip) {
  language::LoadTranslation("Setup\r\nPreview=Apercu\r\nUninstall=Desinstaller\r\nReadme=Lisezmoi\r\n", "Setup");
  integration::CreateDesktopShortcut(os, "Stars", kSaver);
  integration::CreateStartMenuGroup(os, "Stars", kUninstaller, kSaver, true);
  ExpectLink(kDesktop + "Apercu Stars.lnk", kSaver);
  ExpectLink(kPrograms + "Stars\\Apercu Stars.lnk", kSaver);
  ExpectLink(kPrograms + "Stars\\Lisezmoi.lnk", "C:\\Savers\\Stars Lisezmoi.txt");
  ExpectLink(kPrograms + "Stars\\Desinstaller Stars.lnk", kUninstaller);

  integration::RemoveDesktopShortcut(os, "Stars");
  integration::RemoveStartMenuGroup(os, "Stars");
  EXPECT_FALSE(fake.files.HasFile(kDesktop + "Apercu Stars.lnk"));
  EXPECT_FALSE(fake.files.HasFolder(kPrograms + "Stars"));
  EXPECT_TRUE(fake.files.HasFolder(fake::kFakePrograms));
}

TEST_F(Shortcuts, MadeTwiceReplacesWithoutError) {
  integration::CreateStartMenuGroup(os, "Stars", kUninstaller, "C:\\Old\\stars.scr", false);
  integration::CreateStartMenuGroup(os, "Stars", kUninstaller, kSaver, false);
  ExpectLink(kPrograms + "Stars\\Preview Stars.lnk", kSaver);
  for (const std::string& line : fake.log.LinesOf("SaveLink")) EXPECT_EQ(line.find("[failed]"), std::string::npos) << line;
}

TEST_F(Shortcuts, GroupWithAUsersFileStays) {
  integration::CreateStartMenuGroup(os, "Stars", kUninstaller, kSaver, true);
  fake.files.AddFile(kPrograms + "Stars\\My notes.txt", "mine");
  integration::RemoveStartMenuGroup(os, "Stars");
  EXPECT_TRUE(fake.files.HasFile(kPrograms + "Stars\\My notes.txt"));
  for (const char* name : {"Preview Stars.lnk", "Readme.lnk", "Uninstall Stars.lnk"})
    EXPECT_FALSE(fake.files.HasFile(kPrograms + "Stars\\" + name)) << name;
}

TEST_F(Shortcuts, MakingSwallowsEveryFailureAndGoesOn) {
  struct Case {
    const char* name;
    std::function<void(fake::FakeOs&)> inject;
    std::vector<std::string> expectedLinks;  // below the group
  };
  const std::vector<Case> cases = {
      {"first link fails", [](fake::FakeOs& f) { f.FailNth("SaveLink", 1); }, {"Readme.lnk", "Uninstall Stars.lnk"}},
      {"programs folder unavailable", [](fake::FakeOs& f) { f.shell.SetSpecialFolder(os::kCsidlPrograms, std::nullopt); },
       {}},
      {"programs folder has no path", [](fake::FakeOs& f) { f.shell.SetSpecialFolder(os::kCsidlPrograms, "  "); }, {}},
      {"folder not creatable", [](fake::FakeOs& f) { f.FailOn("CreateFolder"); }, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fake::FakeOs local;
    os::Os localOs = local.Os();
    c.inject(local);
    EXPECT_NO_THROW(integration::CreateStartMenuGroup(localOs, "Stars", kUninstaller, kSaver, true));
    EXPECT_NO_THROW(integration::CreateDesktopShortcut(localOs, "Stars", kSaver));
    std::vector<std::string> made;
    for (const char* name : {"Preview Stars.lnk", "Readme.lnk", "Uninstall Stars.lnk"})
      if (local.shell.LinkAt(kPrograms + "Stars\\" + name)) made.push_back(name);
    EXPECT_EQ(made, c.expectedLinks);
    for (const std::string& entry : local.files.Entries())
      EXPECT_NE(entry.find(".lnk"), 0u) << "link outside any folder: " << entry;
  }
}

TEST_F(Shortcuts, LinkPathLongerThan259IsNeverWritten) {
  // 259 characters in all is the longest path the shell's buffers take.
  const std::string folder = "C:\\L";
  fake.files.AddFolder(folder);
  fake.shell.SetSpecialFolder(os::kCsidlDesktop, folder);
  const std::size_t fixed = folder.size() + 1 + 4;  // "\" and ".lnk"
  const std::string fits(259 - fixed, 'n');
  const std::string tooLong(260 - fixed, 'n');
  EXPECT_NO_THROW(integration::CreateShellLink(fake.shell, kSaver, fits, os::kCsidlDesktop));
  EXPECT_THROW(integration::CreateShellLink(fake.shell, kSaver, tooLong, os::kCsidlDesktop), integration::ShortcutError);
  EXPECT_EQ(fake.log.Count("SaveLink"), 1);
  EXPECT_TRUE(fake.shell.LinkAt(folder + "\\" + fits + ".lnk"));
}

TEST_F(Shortcuts, CreateShellLinkRaisesOnEveryFailure) {
  struct Case {
    const char* name;
    std::function<void(fake::FakeOs&)> inject;
  };
  const std::vector<Case> cases = {
      {"no folder", [](fake::FakeOs& f) { f.shell.SetSpecialFolder(os::kCsidlDesktop, std::nullopt); }},
      {"folder without a file-system path", [](fake::FakeOs& f) { f.shell.SetSpecialFolder(os::kCsidlDesktop, ""); }},
      {"save refused", [](fake::FakeOs& f) { f.FailOn("SaveLink"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fake::FakeOs local;
    c.inject(local);
    EXPECT_THROW(integration::CreateShellLink(local.shell, kSaver, "Preview Stars", os::kCsidlDesktop),
                 integration::ShortcutError);
    EXPECT_FALSE(local.files.HasFile("\\Preview Stars.lnk"));
  }
}

TEST_F(Shortcuts, RemovalRaisesWhenTheShellHasNoFolder) {
  for (int csidl : {os::kCsidlDesktop, os::kCsidlPrograms}) {
    SCOPED_TRACE(csidl);
    fake::FakeOs local;
    os::Os localOs = local.Os();
    local.shell.SetSpecialFolder(csidl, std::nullopt);
    auto remove = [&] {
      if (csidl == os::kCsidlDesktop) integration::RemoveDesktopShortcut(localOs, "Stars");
      else integration::RemoveStartMenuGroup(localOs, "Stars");
    };
    EXPECT_THROW(remove(), integration::ShortcutError);
    local.shell.SetSpecialFolder(csidl, "");  // no file-system path: nothing to remove, no error
    EXPECT_NO_THROW(remove());
    // Only every user's folder is looked into: nothing relative to the current folder.
    for (const std::string& line : local.log.LinesOf("DeleteFile"))
      EXPECT_EQ(line.find(std::string("DeleteFile ") + (csidl == os::kCsidlDesktop ? fake::kFakeCommonDesktop
                                                                                    : fake::kFakeCommonPrograms)),
                0u)
          << line;
  }
}

TEST_F(Shortcuts, TitlesWithoutAGroupOfTheirOwnNeverTouchProgramsFolder) {
  for (const std::string title : {"", "\\", "..", "Stars\\", "A\\..\\.."}) {
    SCOPED_TRACE("title '" + title + "'");
    fake::FakeOs local;
    os::Os localOs = local.Os();
    local.files.AddFile(kPrograms + "Preview .lnk", "a user's link");
    integration::CreateStartMenuGroup(localOs, title, kUninstaller, kSaver, true);
    integration::RemoveStartMenuGroup(localOs, title);
    EXPECT_FALSE(local.log.Contains("SaveLink"));
    EXPECT_FALSE(local.log.Contains("DeleteFile"));
    EXPECT_FALSE(local.log.Contains("RemoveFolder"));
    EXPECT_TRUE(local.files.HasFile(kPrograms + "Preview .lnk"));
  }
}

// Names come from the package (title, translations) and are joined to the desktop or the group:
// nothing in them may lead out of there.
TEST_F(Shortcuts, NamesFromThePackageStayOnTheDesktopAndInTheGroup) {
  struct Case {
    const char* name;
    std::string title, language;
    std::vector<std::string> links;  // relative to the desktop or the Programs folder
  };
  const std::vector<Case> cases = {
      {"title climbing out of the desktop", "A\\..\\..\\Stars", "", {}},
      {"translations with separators fall back to English", "Stars",
       "Setup\r\nPreview=..\\..\\Apercu\r\nReadme=../Lisez\r\nUninstall=C:\\Temp\\Ote\r\n",
       {"Preview Stars.lnk", "Stars\\Preview Stars.lnk", "Stars\\Readme.lnk", "Stars\\Uninstall Stars.lnk"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    language::FreeTranslation();
    if (!c.language.empty()) language::LoadTranslation(c.language, "Setup");
    fake::FakeOs local;
    os::Os localOs = local.Os();
    local.files.AddFile(std::string(fake::kFakeDesktop) + "\\..\\Stars.lnk", "not ours");
    integration::CreateDesktopShortcut(localOs, c.title, kSaver);
    integration::CreateStartMenuGroup(localOs, c.title, kUninstaller, kSaver, true);
    std::vector<std::string> saved;
    for (const std::string& line : local.log.LinesOf("SaveLink")) saved.push_back(line.substr(0, line.find(".lnk") + 4));
    std::vector<std::string> expected;
    for (const std::string& link : c.links)
      expected.push_back("SaveLink " + (link.find('\\') == std::string::npos ? kDesktop : kPrograms) + link);
    EXPECT_EQ(saved, expected) << local.log.Dump();
    integration::RemoveDesktopShortcut(localOs, c.title);
    EXPECT_TRUE(local.files.HasFile(std::string(fake::kFakeDesktop) + "\\..\\Stars.lnk"));
    if (!c.links.empty()) {
      const auto readme = local.shell.LinkAt(kPrograms + "Stars\\Readme.lnk");
      ASSERT_TRUE(readme);
      EXPECT_EQ(readme->target, "C:\\Savers\\Stars Readme.txt");
    }
  }
}

TEST_F(Shortcuts, ThirtyTwoCharacterTitleAndNestedTitle) {
  const std::string title32(32, 'T');
  integration::CreateStartMenuGroup(os, title32, kUninstaller, kSaver, false);
  ExpectLink(kPrograms + title32 + "\\Uninstall " + title32 + ".lnk", kUninstaller);
  integration::CreateStartMenuGroup(os, "A\\B", kUninstaller, kSaver, false);
  EXPECT_TRUE(fake.files.HasFolder(kPrograms + "A\\B"));
  integration::RemoveStartMenuGroup(os, "A\\B");
  EXPECT_FALSE(fake.files.HasFolder(kPrograms + "A\\B"));
  EXPECT_TRUE(fake.files.HasFolder(kPrograms + "A"));
}

}  // namespace
