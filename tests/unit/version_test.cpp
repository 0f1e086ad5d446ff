#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "package/settings_record.h"
#include "integration/saver_file_name.h"

namespace {

using integration::ShortenSaverFileName;
using integration::WindowsVersionIndex;

struct VersionCase {
  const char* name;
  std::optional<os::VersionInfo> version;
  int expected;
};

os::VersionInfo V(uint32_t platform, uint32_t major, uint32_t minor, const char* sp = "") {
  return os::VersionInfo{platform, major, minor, sp};
}

const VersionCase kVersionCases[] = {
    {"CallFails", std::nullopt, -1},
    {"Windows95", V(1, 4, 0), 0},
    {"Windows98", V(1, 4, 10), 1},
    {"Windows98WithOtherServicePackText", V(1, 4, 10, "B"), 1},
    {"Windows98SecondEdition", V(1, 4, 10, " A "), 2},
    {"Windows98SecondEditionShortText", V(1, 4, 10, "xA"), 2},
    {"LowerCaseAIsNotSecondEdition", V(1, 4, 10, " a "), 1},
    {"WindowsMe", V(1, 4, 90), 3},
    {"Platform1UnknownMinor", V(1, 4, 20), -1},
    {"Platform1UnknownMajor", V(1, 5, 0), -1},
    {"Platform1Major3", V(1, 3, 10), -1},
    {"WindowsNt351", V(2, 3, 51), 4},
    {"WindowsNt4", V(2, 4, 0), 4},
    {"WindowsNtMajor0", V(2, 0, 0), 4},
    {"Windows2000", V(2, 5, 0), 5},
    {"WindowsXp", V(2, 5, 1), 6},
    {"WindowsServer2003", V(2, 5, 2), -1},
    {"Minor5Point3", V(2, 5, 3), -1},
    {"Vista", V(2, 6, 0), 7},
    {"Seven", V(2, 6, 1), 7},
    {"SixPoint3", V(2, 6, 3), 7},
    {"Ten", V(2, 10, 0), -1},
    {"Major7", V(2, 7, 0), -1},
    {"Win32s", V(0, 3, 10), -1},
    {"PlatformCe", V(3, 5, 1), -1},
};

class WindowsVersionIndexTest : public ::testing::TestWithParam<VersionCase> {};

TEST_P(WindowsVersionIndexTest, MapsReportedVersion) {
  EXPECT_EQ(WindowsVersionIndex(GetParam().version), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, WindowsVersionIndexTest, ::testing::ValuesIn(kVersionCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct NameCase {
  const char* name;
  std::string before;
  std::string after;
};

const NameCase kNameCases[] = {
    {"LongNameCutAndBlanksReplaced", "My Screen Saver.scr", "My_Scree.scr"},
    {"EightCharactersUnchanged", "abcdefgh.scr", "abcdefgh.scr"},
    {"DashReplaced", "sea-life.scr", "sea_life.scr"},
    {"EarlyDotNotCutButReplaced", "my.saver.scr", "my_saver.scr"},
    {"ShortNameUnchanged", "x.scr", "x.scr"},
    {"NoDotNotCut", "averyveryverylongname", "averyveryverylongname"},
    {"NoDotStillReplaced", "a very long-name", "a_very_long_name"},
    {"DotAtNinthIsCut", "abcdefghi.scr", "abcdefgh.scr"},
    {"ShortExtensionGrows", "abcdefghi.x", "abcdefgh.scr"},
    {"DirectoryPartSurvives", "C:\\My Savers\\My Screen Saver.scr", "C:\\My Savers\\My_Scree.scr"},
    {"DriveColonIsDirectory", "D:sea-life.scr", "D:sea_life.scr"},
    {"HighBytesReplaced", "caf\xE9.scr", "caf_.scr"},
    {"FourCharactersUntouched", "a-b!", "a-b!"},
    {"FiveCharactersKeepLastFour", "--.sc", "_-.sc"},
    {"EmptyStaysEmpty", "", ""},
    {"TrailingBackslashLeavesEmptyName", "C:\\dir\\", "C:\\dir\\"},
};

class ShortenSaverFileNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(ShortenSaverFileNameTest, RewritesNamePart) {
  package::SettingsRecord record;
  record.SetScreensaverFileName(GetParam().before);
  ShortenSaverFileName(record);
  EXPECT_EQ(record.ScreensaverFileName(), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(Table, ShortenSaverFileNameTest, ::testing::ValuesIn(kNameCases),
                         [](const auto& info) { return std::string(info.param.name); });

constexpr std::size_t kNameOffset = package::field::kScreensaverFileName.offset;
constexpr std::size_t kNameWidth = package::field::kScreensaverFileName.width;

TEST(ShortenSaverFileName, BytesAfterTheNulKeepTheirOldContents) {
  package::SettingsRecord record;
  record.SetScreensaverFileName("My Screen Saver.scr");
  ShortenSaverFileName(record);
  const auto& raw = record.Raw();
  EXPECT_EQ(raw[kNameOffset + 12], 0);      // NUL right after "My_Scree.scr"
  EXPECT_EQ(raw[kNameOffset + 13], 'e');    // left-over of "...Saver.scr"
  EXPECT_EQ(raw[kNameOffset + 19], 0);      // the old NUL
}

// A rewritten name that would not leave room for its NUL loses characters in front of its
// extension: the folder part and ".scr" survive.
TEST(ShortenSaverFileName, GrownNameIsBoundToTheFieldWithItsNul) {
  struct BoundCase {
    std::size_t directoryLength;
    std::string name;
    std::string expectedName;
  };
  const BoundCase cases[] = {
      {243, "abcdefghi.x", "abcdefgh.scr"},  // rewritten 243 + 12 = 255 fits exactly
      {244, "abcdefghi.x", "abcdefg.scr"},   // 256: one too many
      {245, "abcdefghi.x", "abcdef.scr"},    // field full without NUL; 257: two too many
      {246, "abcdefghi.", "abcde.scr"},      // field full without NUL; 258: three too many
  };
  for (const BoundCase& c : cases) {
    SCOPED_TRACE(c.directoryLength);
    const std::string directory = std::string(c.directoryLength - 1, 'd') + "\\";
    ASSERT_LE(directory.size() + c.name.size(), kNameWidth);
    package::SettingsRecord record;
    record.SetScreensaverFileName(directory + c.name);
    ShortenSaverFileName(record);
    const std::string after = record.ScreensaverFileName();
    EXPECT_LE(after.size(), kNameWidth - 1);
    EXPECT_EQ(record.Raw()[kNameOffset + after.size()], 0);
    EXPECT_EQ(after.substr(0, directory.size()), directory);
    EXPECT_EQ(after.substr(directory.size()), c.expectedName);
  }
}

TEST(ShortenSaverFileName, FullWidthNameWithoutNulIsLeftAloneWhenNothingChanges) {
  package::SettingsRecord record;
  const std::string full = std::string(251, 'a') + "\\x.scr";  // 257 bytes: field holds 256
  record.SetScreensaverFileName(full);
  const auto before = record.Raw();
  ShortenSaverFileName(record);
  EXPECT_EQ(record.Raw(), before);
  EXPECT_EQ(record.ScreensaverFileName().size(), kNameWidth);
}

}  // namespace
