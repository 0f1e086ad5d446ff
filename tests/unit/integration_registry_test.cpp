// The builder's per-user record and the machine-wide uninstall entry, against the fake registry.
#include <gtest/gtest.h>

#include "integration/integration_errors.h"
#include "integration/key_tree.h"
#include "integration/saver_registry.h"
#include "integration/uninstall_entry.h"
#include "support/fake_os.h"

namespace {

using os::RegRoot;
constexpr RegRoot kHkcu = RegRoot::kCurrentUser;
constexpr RegRoot kHklm = RegRoot::kLocalMachine;
constexpr char kStarsKey[] = "Software\\Somnivex\\Stars";
constexpr char kUninstall[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

std::string Entry(const std::string& title) { return std::string(kUninstall) + "\\" + title; }

TEST(InstalledPathRecord, StoredPathReadsBackAndCreatesParents) {
  fake::FakeOs fake;
  integration::StoreInstalledPath(fake.registry, "Stars", "C:\\Savers\\stars.scr");
  EXPECT_EQ(fake.registry.StringValue(kHkcu, kStarsKey, "FileName_"), "C:\\Savers\\stars.scr");
  EXPECT_EQ(fake.registry.Value(kHkcu, kStarsKey, "FileName_")->type, os::kRegSz);
  EXPECT_EQ(integration::ReadInstalledPath(fake.registry, "Stars"), "C:\\Savers\\stars.scr");
}

TEST(InstalledPathRecord, ReadTakesStringTypesUpToNulAndNothingElse) {
  struct Case {
    const char* name;
    std::optional<os::RegValue> stored;  // nullopt: no value
    bool keyExists;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"sz", os::RegValue{os::kRegSz, std::string("C:\\a.scr\0", 9)}, true, "C:\\a.scr"},
      {"expand sz kept unexpanded", os::RegValue{os::kRegExpandSz, std::string("%WINDIR%\\a.scr\0", 15)}, true,
       "%WINDIR%\\a.scr"},
      {"stops at the first NUL", os::RegValue{os::kRegSz, std::string("C:\\a\0junk\0", 10)}, true, "C:\\a"},
      {"no NUL at all", os::RegValue{os::kRegSz, "C:\\b.scr"}, true, "C:\\b.scr"},
      {"empty string", os::RegValue{os::kRegSz, std::string("\0", 1)}, true, ""},
      {"missing value", std::nullopt, true, ""},
      {"missing key", std::nullopt, false, ""},
      {"dword", os::RegValue{4, std::string("\1\0\0\0", 4)}, true, ""},
      {"binary", os::RegValue{3, "C:\\a.scr"}, true, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fake::FakeOs fake;
    if (c.keyExists) fake.registry.SetString(kHkcu, kStarsKey, "StartID", "7");
    if (c.stored) fake.registry.SetValue(kHkcu, kStarsKey, "FileName_", *c.stored);
    EXPECT_EQ(integration::ReadInstalledPath(fake.registry, "Stars"), c.expected);
    EXPECT_EQ(fake.registry.HasKey(kHkcu, kStarsKey), c.keyExists) << "reading must create nothing";
  }
}

TEST(InstalledPathRecord, StoreFailuresSetValueRaisesCreateKeySilent) {
  fake::FakeOs refused;
  refused.FailOn("RegSetValue");
  try {
    integration::StoreInstalledPath(refused.registry, "Stars", "C:\\x.scr");
    ADD_FAILURE() << "no error raised";
  } catch (const integration::RegistryError& e) {
    EXPECT_STREQ(e.what(), "Failed to set data for 'FileName_'");
  }

  fake::FakeOs noKey;
  noKey.FailOn("RegCreateKey");
  EXPECT_NO_THROW(integration::StoreInstalledPath(noKey.registry, "Stars", "C:\\x.scr"));
  EXPECT_FALSE(noKey.log.Contains("RegSetValue"));
}

TEST(InstalledPathRecord, ClearKeepsStartIdAndOtherSubkeysDropsPlayListTree) {
  fake::FakeOs fake;
  const std::string key = kStarsKey;
  fake.registry.SetString(kHkcu, key, "FileName_", "C:\\a.scr");
  fake.registry.SetString(kHkcu, key, "StartID", "3");
  fake.registry.SetString(kHkcu, key, "Speed", "9");
  fake.registry.SetString(kHkcu, key, "", "default value");
  fake.registry.SetString(kHkcu, key + "\\PlayList\\1\\Deep", "x", "y");
  fake.registry.SetString(kHkcu, key + "\\PlayList\\2", "x", "y");
  fake.registry.SetString(kHkcu, key + "\\Colors", "Red", "1");

  integration::ClearSaverSettings(fake.registry, "Stars");

  EXPECT_EQ(fake.registry.StringValue(kHkcu, key, "StartID"), "3");
  for (const char* gone : {"FileName_", "Speed", ""}) EXPECT_FALSE(fake.registry.Value(kHkcu, key, gone)) << gone;
  EXPECT_FALSE(fake.registry.HasKey(kHkcu, key + "\\PlayList"));
  EXPECT_EQ(fake.registry.StringValue(kHkcu, key + "\\Colors", "Red"), "1");
  // Every name was listed before the first deletion.
  EXPECT_LT(fake.log.IndexOf("RegEnumValues"), fake.log.IndexOf("RegDeleteValue"));
  EXPECT_EQ(fake.log.Count("RegEnumValues"), 1);
}

TEST(InstalledPathRecord, ClearKeepsOnlyTheExactName) {
  // The registry itself ignores case in names, but only our own spelling is ours to keep.
  fake::FakeOs fake;
  fake.registry.SetString(kHkcu, kStarsKey, "startid", "another program's spelling");
  integration::ClearSaverSettings(fake.registry, "Stars");
  EXPECT_FALSE(fake.registry.Value(kHkcu, kStarsKey, "StartID"));
}

TEST(InstalledPathRecord, ClearOnMissingKeyLeavesItEmpty) {
  fake::FakeOs fake;
  integration::ClearSaverSettings(fake.registry, "Stars");
  EXPECT_TRUE(fake.registry.HasKey(kHkcu, kStarsKey));
  EXPECT_FALSE(fake.registry.HasKey(kHkcu, std::string(kStarsKey) + "\\PlayList"));
}

// The maker's key is shared by all its screen savers: a title without a key of its own must
// neither record into it, read from it nor clear it.
TEST(InstalledPathRecord, TitlesNamingNoOwnKeyNeverTouchTheSharedKey) {
  constexpr char kShared[] = "Software\\Somnivex";
  for (const std::string title : {"", "\\", "..", "Stars\\", "A\\..\\.."}) {
    SCOPED_TRACE("title '" + title + "'");
    fake::FakeOs fake;
    fake.registry.SetString(kHkcu, kShared, "FileName_", "C:\\Other\\other.scr");
    fake.registry.SetString(kHkcu, kShared, "Speed", "3");
    fake.registry.SetString(kHkcu, std::string(kShared) + "\\PlayList\\1", "Item", "x");
    integration::StoreInstalledPath(fake.registry, title, "C:\\Savers\\stars.scr");
    EXPECT_EQ(integration::ReadInstalledPath(fake.registry, title), "");
    integration::ClearSaverSettings(fake.registry, title);
    EXPECT_EQ(fake.registry.StringValue(kHkcu, kShared, "FileName_"), "C:\\Other\\other.scr");
    EXPECT_EQ(fake.registry.StringValue(kHkcu, kShared, "Speed"), "3");
    EXPECT_TRUE(fake.registry.HasKey(kHkcu, std::string(kShared) + "\\PlayList\\1"));
    EXPECT_TRUE(fake.log.Lines().empty()) << fake.log.Dump();
  }
}

TEST(KeyTree, DeletesDeepestFirstFromTheHighestIndexDown) {
  fake::FakeOs fake;
  const std::string top = Entry("Stars");
  for (const char* sub : {"\\a", "\\b\\c", "\\b\\d", "\\e"}) fake.registry.SetString(kHklm, top + sub, "v", "1");
  fake.registry.SetString(kHklm, Entry("Other"), "DisplayName", "Other");

  integration::DeleteKeyTree(fake.registry, kHklm, top);

  const auto deletions = fake.log.LinesOf("RegDeleteKey");
  const std::string p = "RegDeleteKey HKLM\\" + top;
  EXPECT_EQ(deletions, (std::vector<std::string>{p + "\\e", p + "\\b\\d", p + "\\b\\c", p + "\\b", p + "\\a", p}));
  EXPECT_FALSE(fake.registry.HasKey(kHklm, top));
  EXPECT_TRUE(fake.registry.HasKey(kHklm, Entry("Other")));
}

TEST(KeyTree, UnreadableSubkeyNameIsSkippedAndItsParentStays) {
  fake::FakeOs fake;
  const std::string top = Entry("Stars");
  fake.registry.SetString(kHklm, top + "\\a", "v", "1");
  fake.registry.SetString(kHklm, top + "\\b", "v", "1");
  fake.FailWhen([](const fake::Call& c) { return c.op == "RegSubkeyName" && c.detail == "1"; });
  integration::DeleteKeyTree(fake.registry, kHklm, top);
  EXPECT_FALSE(fake.registry.HasKey(kHklm, top + "\\a"));
  EXPECT_TRUE(fake.registry.HasKey(kHklm, top + "\\b"));
  EXPECT_TRUE(fake.registry.HasKey(kHklm, top));
}

TEST(UninstallEntry, WritesQuotedPathAndReplacesOnSecondInstall) {
  fake::FakeOs fake;
  const std::string path = "C:\\Program Files\\Stars\\uninstall stars.exe";
  integration::EntryDetails earlier;
  earlier.publisher = "Old Publisher";
  earlier.version = "1.0";
  earlier.link = "http://old.example.org/";
  integration::RegisterUninstallEntry(fake.registry, "Stars", "C:\\old.exe", earlier);
  // The new version has none of these: the list must not go on showing the old ones.
  integration::RegisterUninstallEntry(fake.registry, "Stars", path);
  for (const char* gone : {"Publisher", "DisplayVersion", "URLInfoAbout", "InstallLocation", "EstimatedSize"})
    EXPECT_FALSE(fake.registry.Value(kHklm, Entry("Stars"), gone)) << gone;
  EXPECT_EQ(fake.registry.StringValue(kHklm, Entry("Stars"), "DisplayName"), "Stars");
  EXPECT_EQ(fake.registry.StringValue(kHklm, Entry("Stars"), "UninstallString"), "\"" + path + "\"");
  EXPECT_EQ(fake.registry.StringValue(kHklm, Entry("Stars"), "QuietUninstallString"), "\"" + path + "\" -silent -yes");
  EXPECT_EQ(fake.registry.StringValue(kHklm, Entry("Stars"), "DisplayIcon"), path);
  EXPECT_EQ(fake.registry.KeyPaths(kHklm).size(), 6u);  // Software ... Uninstall, Stars
}

TEST(UninstallEntry, TitlesNamingNoOwnKeyTouchNothing) {
  struct Case {
    std::string title;
    bool registered;
  };
  const std::string title32(32, 'T');
  const std::vector<Case> cases = {
      {"", false}, {"\\", false}, {"A\\", false}, {"\\A", false}, {"A\\\\B", false}, {"..", false}, {"  ", false},
      {"Stars", true}, {title32, true}, {"A\\B", true}, {"Stars 2.0", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("title '" + c.title + "'");
    fake::FakeOs fake;
    fake.registry.SetString(kHklm, Entry("Other"), "DisplayName", "Other");
    fake.registry.SetString(kHklm, kUninstall, "Shared", "kept");
    integration::RegisterUninstallEntry(fake.registry, c.title, "C:\\u.exe");
    EXPECT_EQ(fake.registry.StringValue(kHklm, Entry(c.title), "DisplayName").has_value(), c.registered);
    integration::RemoveUninstallEntry(fake.registry, c.title);
    EXPECT_FALSE(fake.registry.Value(kHklm, Entry(c.title), "DisplayName"));
    EXPECT_TRUE(fake.registry.HasKey(kHklm, Entry("Other")));
    EXPECT_EQ(fake.registry.StringValue(kHklm, kUninstall, "Shared"), "kept");
    if (!c.registered) {
      EXPECT_FALSE(fake.log.Contains("RegDeleteKey"));
    }
  }
}

TEST(UninstallEntry, NestedTitleRemovesOnlyTheInnermostKey) {
  fake::FakeOs fake;
  integration::RegisterUninstallEntry(fake.registry, "A\\B", "C:\\u.exe");
  fake.registry.SetString(kHklm, Entry("A\\B\\Sub"), "v", "1");
  ASSERT_TRUE(fake.registry.HasKey(kHklm, Entry("A")));
  integration::RemoveUninstallEntry(fake.registry, "A\\B");
  EXPECT_FALSE(fake.registry.HasKey(kHklm, Entry("A\\B")));
  EXPECT_TRUE(fake.registry.HasKey(kHklm, Entry("A")));
}

TEST(UninstallEntry, FailuresAreSwallowed) {
  for (const char* op : {"RegCreateKey", "RegSetValue", "RegOpenKey", "RegDeleteKey", "RegSubkeyCount"}) {
    SCOPED_TRACE(op);
    fake::FakeOs fake;
    if (std::string(op) != "RegCreateKey") integration::RegisterUninstallEntry(fake.registry, "Stars", "C:\\u.exe");
    fake.FailOn(op);
    EXPECT_NO_THROW(integration::RegisterUninstallEntry(fake.registry, "Stars", "C:\\u.exe"));
    EXPECT_NO_THROW(integration::RemoveUninstallEntry(fake.registry, "Stars"));
  }
  fake::FakeOs halfWritten;
  halfWritten.FailWhen([](const fake::Call& c) { return c.op == "RegSetValue" && c.ordinal == 2; });
  integration::RegisterUninstallEntry(halfWritten.registry, "Stars", "C:\\u.exe");
  EXPECT_EQ(halfWritten.registry.StringValue(kHklm, Entry("Stars"), "DisplayName"), "Stars");
  EXPECT_FALSE(halfWritten.registry.Value(kHklm, Entry("Stars"), "UninstallString"));
  EXPECT_FALSE(halfWritten.registry.Value(kHklm, Entry("Stars"), "DisplayIcon"));
}

}  // namespace
