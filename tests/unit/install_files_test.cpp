// The file-system steps around the copy: the destination folder, the partial-file clean-up and
// the readme writer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "install/install_files.h"
#include "support/fake_os.h"

namespace install {
namespace {

TEST(InstallFolder, CreatesEveryMissingLevelOutermostFirst) {
  struct Case {
    const char* typed;
    bool created;
    std::vector<std::string> creations;  // CreateFolder calls, in order
  };
  const Case cases[] = {
      {"C:\\Savers", true, {"C:\\Savers"}},
      {"C:\\Savers\\", true, {"C:\\Savers"}},
      {"C:\\a\\b\\c\\", true, {"C:\\a", "C:\\a\\b", "C:\\a\\b\\c"}},
      {"C:\\windows", true, {}},   // exists
      {"C:\\", true, {}},          // a root
      {"C:", true, {}},            // a drive
      {"", true, {}},
      {"ab", true, {}},            // too short to be a folder of its own: left to the check
      {"C:/a/b", true, {"C:/a", "C:/a/b"}},
      {"C:/a/b/", true, {"C:/a", "C:/a/b"}},
      {"Q:\\nodrive\\x", false, {"Q:\\nodrive [failed]"}},  // the first level fails: nothing further
  };
  for (const Case& c : cases) {
    fake::FakeOs fake;
    std::vector<std::string> created;
    EXPECT_EQ(os::CreateFolderWithParents(fake.files, c.typed, created), c.created) << c.typed;
    std::vector<std::string> expected, reported;
    for (const std::string& folder : c.creations) {
      expected.push_back("CreateFolder " + folder);
      if (folder.find(" [failed]") == std::string::npos) reported.push_back(folder);
    }
    EXPECT_EQ(fake.log.LinesOf("CreateFolder"), expected) << c.typed << "\n" << fake.log.Dump();
    EXPECT_EQ(created, reported) << c.typed;
  }
}

TEST(InstallFolder, AFailingLevelStopsTheCreation) {
  fake::FakeOs fake;
  fake.FailOn("CreateFolder", "C:\\a\\b");
  std::vector<std::string> created;
  EXPECT_FALSE(os::CreateFolderWithParents(fake.files, "C:\\a\\b\\c", created));
  EXPECT_EQ(created, std::vector<std::string>{"C:\\a"});  // what a rollback has to take away
  EXPECT_TRUE(fake.files.HasFolder("C:\\a"));
  EXPECT_FALSE(fake.files.HasFolder("C:\\a\\b\\c"));
}

TEST(InstallFolder, OnlyAnExistingFolderPassesTheCheck) {
  fake::FakeOs fake;
  fake.files.AddFile("C:\\file.txt", "x");
  fake.files.AddFolder("C:\\Savers");
  struct Case {
    const char* text;
    bool folder;
  };
  const Case cases[] = {{"C:\\Savers", true}, {"C:\\Savers\\", true}, {"C:\\file.txt", false},
                        {"C:\\missing", false}, {"", false}};
  for (const Case& c : cases) EXPECT_EQ(IsExistingFolder(fake.files, c.text), c.folder) << c.text;
}

// The readme as the installation writes it: into a file it has just created.
bool WriteNewFile(fake::FakeOs& fake, const std::string& path,
                  const std::vector<std::string>& lines, std::vector<uint8_t>& buffer) {
  const auto file = fake.files.Open(path, os::OpenMode::kCreateNew);
  return file && WriteLines(*file, lines, buffer);
}

TEST(InstallReadme, EveryLineEndsInCrLfAndLargeTextsAreWrittenInPieces) {
  struct Case {
    std::vector<std::string> lines;
    std::size_t bufferSize;
  };
  const Case cases[] = {
      {{"Stars", "", "Enjoy \xE9toiles!"}, 100001},
      {{}, 100001},
      {{""}, 16},
      {{"0123456789abcdef0123456789", "x", "0123456789abcdef"}, 16},  // lines longer than the buffer
  };
  for (const Case& c : cases) {
    fake::FakeOs fake;
    std::string expected;
    for (const std::string& line : c.lines) expected += line + "\r\n";
    std::vector<uint8_t> buffer(c.bufferSize);
    ASSERT_TRUE(WriteNewFile(fake, "C:\\Stars Readme.txt", c.lines, buffer));
    EXPECT_EQ(fake.files.Content("C:\\Stars Readme.txt"), expected);
    EXPECT_EQ(fake.files.OpenHandles("C:\\Stars Readme.txt"), 0);
  }
}

TEST(InstallReadme, ACreateOrWriteFailureIsReported) {
  const char* failingOps[] = {"OpenFile", "Write"};
  for (const char* op : failingOps) {
    fake::FakeOs fake;
    fake.FailOn(op);
    std::vector<uint8_t> buffer(64);
    EXPECT_FALSE(WriteNewFile(fake, "C:\\r.txt", {"line"}, buffer)) << op;
  }
  fake::FakeOs full;
  full.files.SetFreeSpace(3);
  std::vector<uint8_t> buffer(64);
  EXPECT_FALSE(WriteNewFile(full, "C:\\r.txt", {"line"}, buffer));
}

}  // namespace
}  // namespace install
