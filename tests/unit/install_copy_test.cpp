// The image copy on its own: how it ends on a broken source or a full disk.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "install/install_copy.h"
#include "install/install_error.h"
#include "support/fake_os.h"

namespace install {
namespace {

std::string Pattern(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 + i / 251);
  return bytes;
}

struct CopyRun {
  bool threw = false;
  std::string written;
  std::vector<int> percents;  // one per chunk copied
};

CopyRun RunCopy(fake::FakeOs& fake, const std::string& source, int64_t start, int64_t length) {
  fake.files.AddFile("C:\\setup.exe", source);
  CopyRun run;
  {
    auto in = fake.files.Open("C:\\setup.exe", os::OpenMode::kReadShareRead);
    auto out = fake.files.Open("C:\\stars.scr", os::OpenMode::kCreateAlways);
    in->Seek(start);
    std::vector<uint8_t> buffer(kCopyChunkSize);
    try {
      CopyImage(*in, *out, length, buffer, [&run](int percent) { run.percents.push_back(percent); });
    } catch (const InstallError&) {
      run.threw = true;
    }
  }
  run.written = fake.files.Content("C:\\stars.scr").value_or("<missing>");
  return run;
}

TEST(InstallCopy, StopsQuietlyAtTheEndOfTheSourceButNeverOnAFault) {
  const std::string source = Pattern(250000);
  struct Case {
    const char* name;
    int64_t start, length;
    int failingRead;            // 0: none
    std::optional<uint64_t> freeSpace;
    bool threw;
    std::size_t writtenSize;
  };
  const Case cases[] = {
      {"whole image", 1000, 200000, 0, std::nullopt, false, 200000},
      {"image runs past the end", 100000, 900000, 0, std::nullopt, false, 150000},
      {"nothing to copy", 1000, 0, 0, std::nullopt, false, 0},
      {"second read fails", 1000, 200000, 2, std::nullopt, true, 100001},
      {"first read fails", 1000, 200000, 1, std::nullopt, true, 0},
      {"disk full mid-chunk", 1000, 200000, 0, 150000, true, 150000},
      {"disk full at once", 1000, 200000, 0, 0, true, 0},
  };
  for (const Case& c : cases) {
    fake::FakeOs fake;
    if (c.failingRead) fake.FailNth("Read", c.failingRead);
    fake.files.SetFreeSpace(c.freeSpace);
    const CopyRun run = RunCopy(fake, source, c.start, c.length);
    EXPECT_EQ(run.threw, c.threw) << c.name;
    ASSERT_EQ(run.written.size(), c.writtenSize) << c.name;
    EXPECT_EQ(run.written, source.substr(c.start, c.writtenSize)) << c.name;
  }
}

// The bar shows how far into the whole setup file the copy has read, not how much of the image.
TEST(InstallCopy, ProgressFollowsThePositionInTheSetupFile) {
  struct Case {
    const char* name;
    std::size_t sourceSize;
    int64_t start, length;
    std::vector<int> percents;
  };
  const Case cases[] = {
      {"two chunks behind a stub", 250000, 1000, 200000, {40, 80}},
      {"image to the end of the file", 200000, 0, 200000, {50, 100}},
      {"one short chunk", 1000, 500, 100, {60}},
      {"nothing to copy", 1000, 500, 0, {}},
  };
  for (const Case& c : cases) {
    fake::FakeOs fake;
    EXPECT_EQ(RunCopy(fake, Pattern(c.sourceSize), c.start, c.length).percents, c.percents) << c.name;
  }
}

TEST(InstallCopy, AnUnreadableSourceSizeIsAFaultNotAnEmptyImage) {
  fake::FakeOs fake;
  fake.FailOn("Size");
  EXPECT_TRUE(RunCopy(fake, Pattern(5000), 0, 5000).threw);
}

}  // namespace
}  // namespace install
