#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/fake_os.h"
#include "wizard/scr_setup.h"

namespace {

using wizard::ExpandFolderMacros;

constexpr os::WindowRef kOwner = 0x777;

struct MacroCase {
  const char* name;
  std::string defaultFolder;
  std::string subFolder;
  std::string windowsDirectory;
  std::optional<std::string> programFiles;
  std::string expected;
};

const MacroCase kMacroCases[] = {
    {"PlainFolderAndSubfolder", "C:\\Savers", "Stars", "C:\\WINDOWS", "C:\\Program Files",
     "C:\\Savers\\Stars\\"},
    {"WindowsMacroAlone", "<Windows>\\", "", "C:\\WINDOWS", "C:\\Program Files", "C:\\WINDOWS\\"},
    {"WindowsMacroWithoutBackslash", "<Windows>", "", "C:\\WINDOWS", "C:\\Program Files",
     "C:\\WINDOWS\\"},
    {"WindowsFolderWithTrailingBackslash", "<Windows>", "System32", "C:\\WINNT\\",
     "C:\\Program Files", "C:\\WINNT\\System32\\"},
    {"WindowsFolderIsDriveRoot", "<Windows>", "Savers", "C:\\", "C:\\Program Files",
     "C:\\Savers\\"},
    {"ProgramFilesWithSubfolder", "<Program Files>", "Somnivex\\Stars", "C:\\WINDOWS",
     "D:\\Programme", "D:\\Programme\\Somnivex\\Stars\\"},
    {"SurroundingBlanksTrimmed", "  \t C:\\Savers \r\n", " Stars  ", "C:\\WINDOWS",
     "C:\\Program Files", "C:\\Savers\\Stars\\"},
    {"SubfolderWithBackslashAtEachEnd", "C:\\Savers\\", "\\Stars\\", "C:\\WINDOWS",
     "C:\\Program Files", "C:\\Savers\\Stars\\"},
    {"OnlyOneBackslashDroppedAtEachEnd", "C:\\Savers", "\\\\Stars\\\\", "C:\\WINDOWS",
     "C:\\Program Files", "C:\\Savers\\\\Stars\\"},
    {"LowerCaseMacroLeftUnreplaced", "<windows>", "", "C:\\WINDOWS", "C:\\Program Files",
     "<windows>\\"},
    {"EmptyFolderAndSubfolder", "", "", "C:\\WINDOWS", "C:\\Program Files", "\\"},
    {"BlankFolderAndSubfolder", "   ", "  ", "C:\\WINDOWS", "C:\\Program Files", "\\"},
    {"EmptyFolderWithSubfolder", "", "Stars", "C:\\WINDOWS", "C:\\Program Files", "\\Stars\\"},
    {"SubfolderOfOneBackslash", "C:\\Savers", "\\", "C:\\WINDOWS", "C:\\Program Files",
     "C:\\Savers\\"},
    {"BothMacrosReplacedEverywhere", "<Windows>\\<Program Files>", "<Windows>", "C:\\W",
     "C:\\P", "C:\\W\\C:\\P\\C:\\W\\"},
    {"ProgramFilesUnavailable", "<Program Files>", "Stars", "C:\\WINDOWS", std::nullopt,
     "\\Stars\\"},
    {"MacroTextInsertedIsNotScannedAgain", "<Windows>", "", "C:\\<Windows>", "C:\\P",
     "C:\\<Windows>\\"},
};

class ExpandFolderMacrosTest : public ::testing::TestWithParam<MacroCase> {};

TEST_P(ExpandFolderMacrosTest, BuildsInitialFolder) {
  const MacroCase& c = GetParam();
  fake::FakeOs fake;
  fake.files.SetWindowsDirectory(c.windowsDirectory);
  fake.shell.SetSpecialFolder(os::kCsidlProgramFiles, c.programFiles);
  os::Os os = fake.Os();
  EXPECT_EQ(ExpandFolderMacros(os, kOwner, c.defaultFolder, c.subFolder), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, ExpandFolderMacrosTest, ::testing::ValuesIn(kMacroCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ProgramFilesFolder, AsksTheShellForFolder38WithTheWindowAsOwner) {
  fake::FakeOs fake;
  fake.shell.SetSpecialFolder(os::kCsidlProgramFiles, std::string("E:\\Apps"));
  os::Os os = fake.Os();
  EXPECT_EQ(wizard::ProgramFilesFolder(os, kOwner), "E:\\Apps");
  EXPECT_TRUE(fake.log.Contains("SpecialFolder 38")) << fake.log.Dump();
}

TEST(ProgramFilesFolder, FailingShellGivesEmptyText) {
  fake::FakeOs fake;
  fake.FailOn("SpecialFolder");
  os::Os os = fake.Os();
  EXPECT_EQ(wizard::ProgramFilesFolder(os, kOwner), "");
}

TEST(ExpandFolderMacros, AsksOnlyForFoldersThatThePathNames) {
  fake::FakeOs fake;
  os::Os os = fake.Os();
  ExpandFolderMacros(os, kOwner, "C:\\Savers", "Stars");
  EXPECT_EQ(fake.log.Count("SpecialFolder"), 0);
  EXPECT_EQ(fake.log.Count("WindowsDirectory"), 0);
}

}  // namespace
