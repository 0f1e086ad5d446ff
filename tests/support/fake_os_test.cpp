// The double is only worth its name where it behaves like Windows in the ways callers trip over:
// sharing, open files, key deletion, path resolution and a full disk.
#include <gtest/gtest.h>

#include "support/fake_form_host.h"
#include "support/fake_os.h"
#include "support/share_cases.h"

namespace {

using os::OpenMode;

class FakeShareTest : public testing::TestWithParam<support::ShareCase> {};

TEST_P(FakeShareTest, SecondOpenHonoursTheFirstOnesSharing) {
  fake::FakeOs fake;
  fake.files.AddFile("C:\\a.bin", "abc");
  auto first = fake.files.Open("C:\\a.bin", GetParam().first);
  ASSERT_NE(first, nullptr);
  auto second = fake.files.Open("c:\\A.BIN", GetParam().second);
  EXPECT_EQ(second != nullptr, GetParam().secondOpens);
}

INSTANTIATE_TEST_SUITE_P(Modes, FakeShareTest, testing::ValuesIn(support::kShareCases));

TEST(FakeFilesTest, OpenFileBlocksDeletionUntilClosed) {
  fake::FakeOs fake;
  fake.files.AddFile("C:\\dir\\u.exe", "x");
  auto held = fake.files.Open("C:\\dir\\u.exe", OpenMode::kReadShareRead);
  EXPECT_FALSE(fake.files.DeleteFileAt("C:\\DIR\\u.exe"));
  EXPECT_EQ(fake.files.LastError(), 32u);
  EXPECT_FALSE(fake.files.RemoveFolder("C:\\dir"));
  held.reset();
  EXPECT_TRUE(fake.files.DeleteFileAt("C:\\DIR\\u.exe"));
  EXPECT_TRUE(fake.files.RemoveFolder("C:\\dir"));
  EXPECT_EQ(fake.log.LinesOf("DeleteFile"),
            (std::vector<std::string>{"DeleteFile C:\\DIR\\u.exe [failed]", "DeleteFile C:\\DIR\\u.exe"}));
}

TEST(FakeFilesTest, CreateAlwaysNeedsTheParentAndTruncates) {
  fake::FakeOs fake;
  fake.files.AddFile("C:\\d\\f.txt", "old contents");
  EXPECT_EQ(fake.files.Open("C:\\missing\\f.txt", OpenMode::kCreateAlways), nullptr);
  auto file = fake.files.Open("C:\\d\\f.txt", OpenMode::kCreateAlways);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->Size(), 0);
  uint32_t written = 0;
  EXPECT_TRUE(file->Write("new", 3, written));
  EXPECT_EQ(fake.files.Content("C:\\d\\f.txt"), "new");
  file.reset();
  // As Windows' CREATE_NEW: a taken name is refused and its file left as it is.
  EXPECT_EQ(fake.files.Open("C:\\d\\f.txt", OpenMode::kCreateNew), nullptr);
  EXPECT_EQ(fake.files.Content("C:\\d\\f.txt"), "new");
  EXPECT_NE(fake.files.Open("C:\\d\\g.txt", OpenMode::kCreateNew), nullptr);
}

TEST(FakeFilesTest, FullDiskDeliversWhatFitsAndFails) {
  fake::FakeOs fake;
  fake.files.SetFreeSpace(5);
  auto file = fake.files.Open("C:\\f.bin", OpenMode::kCreateAlways);
  uint32_t written = 0;
  EXPECT_TRUE(file->Write("abc", 3, written));
  EXPECT_FALSE(file->Write("defg", 4, written));
  EXPECT_EQ(written, 2u);
  EXPECT_EQ(file->LastError(), 112u);
  EXPECT_EQ(fake.files.Content("C:\\f.bin"), "abcde");
}

TEST(FakeFilesTest, FullPathNameResolvesLikeWindows) {
  fake::FakeOs fake;
  fake.files.SetCurrentFolder("C:\\work\\sub");
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"x.scr", "C:\\work\\sub\\x.scr"},
      {"..\\x.scr", "C:\\work\\x.scr"},
      {"C:\\a\\.\\b\\..\\c", "C:\\a\\c"},
      {"C:/a/b/", "C:\\a\\b\\"},
      {"\\top", "C:\\top"},
      {"C:\\..\\..", "C:\\"},
      {"D:rel", "D:\\rel"},
      {"C:rel", "C:\\work\\sub\\rel"},
      {"", ""},
  };
  for (const auto& [given, expected] : cases) EXPECT_EQ(fake.files.FullPathName(given), expected) << given;
}

TEST(FakeRegistryTest, DeleteKeyRefusesKeysWithSubkeys) {
  fake::FakeOs fake;
  ASSERT_NE(fake.registry.CreateKey(os::RegRoot::kLocalMachine, "Software\\A\\B"), nullptr);
  EXPECT_FALSE(fake.registry.DeleteKey(os::RegRoot::kLocalMachine, "Software\\A"));
  EXPECT_TRUE(fake.registry.DeleteKey(os::RegRoot::kLocalMachine, "software\\a\\b"));
  EXPECT_TRUE(fake.registry.DeleteKey(os::RegRoot::kLocalMachine, "Software\\A"));
  EXPECT_FALSE(fake.registry.DeleteKey(os::RegRoot::kLocalMachine, "Software\\A"));
  EXPECT_TRUE(fake.registry.HasKey(os::RegRoot::kLocalMachine, "Software"));
}

TEST(FakeRegistryTest, HandleToADeletedKeyFails) {
  fake::FakeOs fake;
  auto key = fake.registry.CreateKey(os::RegRoot::kCurrentUser, "K");
  ASSERT_TRUE(fake.registry.DeleteKey(os::RegRoot::kCurrentUser, "K"));
  EXPECT_FALSE(key->SetString("v", "x"));
  EXPECT_FALSE(fake.registry.HasKey(os::RegRoot::kCurrentUser, "K"));
}

TEST(FakeRegistryTest, SubkeysEnumerateInAStableOrderWithTheirGivenNames) {
  fake::FakeOs fake;
  for (const char* name : {"beta", "Alpha", "gamma"})
    fake.registry.CreateKey(os::RegRoot::kCurrentUser, std::string("P\\") + name);
  auto key = fake.registry.OpenKey(os::RegRoot::kCurrentUser, "P");
  ASSERT_EQ(key->SubkeyCount(), 3u);
  EXPECT_EQ(key->SubkeyName(0), "Alpha");
  EXPECT_EQ(key->SubkeyName(2), "gamma");
  EXPECT_EQ(key->SubkeyName(3), std::nullopt);
}

TEST(FakeFaultTest, RulesPickTheCallTheyName) {
  fake::FakeOs fake;
  fake.files.AddFile("C:\\a", "0123456789");
  fake.FailNth("Read", 2);
  fake.FailOn("RegSetValue", "filename_");
  auto file = fake.files.Open("C:\\a", OpenMode::kReadShareAll);
  char buffer[4];
  uint32_t got = 0;
  EXPECT_TRUE(file->Read(buffer, 4, got));
  EXPECT_FALSE(file->Read(buffer, 4, got));
  EXPECT_EQ(got, 0u);
  EXPECT_TRUE(file->Read(buffer, 4, got));
  EXPECT_EQ(std::string(buffer, got), "4567");  // the failed read did not move the position
  EXPECT_EQ(file->LastError(), 30u) << "a read fault, kept past the next success";
  auto key = fake.registry.CreateKey(os::RegRoot::kCurrentUser, "S");
  EXPECT_TRUE(key->SetString("Other", "1"));
  EXPECT_FALSE(key->SetString("FileName_", "2"));
  EXPECT_EQ(fake.registry.StringValue(os::RegRoot::kCurrentUser, "S", "FileName_"), std::nullopt);
  EXPECT_EQ(key->LastError(), 5u);
  EXPECT_EQ(fake.registry.LastError(), 0u) << "each object keeps its own";
  fake.FailOn("DeleteFile", "a", 1224);
  EXPECT_FALSE(fake.files.DeleteFileAt("C:\\a"));
  EXPECT_EQ(fake.files.LastError(), 1224u) << "the rule's own code";
  EXPECT_EQ(fake.files.Open("C:\\b", OpenMode::kReadShareAll), nullptr);
  EXPECT_EQ(fake.files.LastError(), 2u) << "as Windows fails it";
}

TEST(FakeFormHostTest, SharesTheChronologicalLog) {
  fake::FakeOs fake;
  fake::FakeFormHost form(&fake);
  form.SetBusyCursor(true);
  fake.files.DeleteFileAt("C:\\x");
  form.SetBusyCursor(false);
  EXPECT_LT(fake.log.IndexOf("SetBusyCursor 1"), fake.log.IndexOf("DeleteFile C:\\x"));
  EXPECT_LT(fake.log.IndexOf("DeleteFile C:\\x"), fake.log.IndexOf("SetBusyCursor 0"));
  EXPECT_FALSE(form.busyCursor);
}

}  // namespace
