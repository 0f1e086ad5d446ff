// The image copy on its own: how it ends on a broken source or a full disk.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "install/install_copy.h"
#include "install/install_error.h"
#include "install/install_progress.h"
#include "package/coded_image.h"
#include "package/checksum.h"
#include "package/pe_image.h"
#include "scrpack/image_coder.h"
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

// Runs `copy` from `source`, read from `start` on, into a new file; what that file holds afterwards.
template <typename Copy>
std::string CopyInFake(fake::FakeOs& fake, const std::string& source, int64_t start, Copy copy) {
  fake.files.AddFile("C:\\setup.exe", source);
  {
    auto in = fake.files.Open("C:\\setup.exe", os::OpenMode::kReadShareRead);
    auto out = fake.files.Open("C:\\stars.scr", os::OpenMode::kCreateAlways);
    in->Seek(start);
    copy(*in, *out);
  }
  return fake.files.Content("C:\\stars.scr").value_or("<missing>");
}

CopyRun RunCopy(fake::FakeOs& fake, const std::string& source, int64_t start, int64_t length) {
  CopyRun run;
  run.written = CopyInFake(fake, source, start, [&](os::File& in, os::File& out) {
    std::vector<uint8_t> buffer(kCopyChunkSize);
    try {
      CopyImage(in, out, length, buffer, [&run](int percent) { run.percents.push_back(percent); });
    } catch (const InstallError&) {
      run.threw = true;
    }
  });
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

// A screen saver of three frames: one that codes well, one of noise that is stored, and a short
// last one. Frame size 200000, so the frames cross the 100001-byte chunks.
std::string MixedSaver() {
  std::string saver = "MZ";
  while (saver.size() < 200000) saver += "the same words again and again, " + std::to_string(saver.size() % 97);
  saver.resize(200000);
  uint32_t noise = 12345;
  for (int i = 0; i < 200000; ++i) {
    noise = noise * 1103515245u + 12345u;
    saver += char(noise >> 24);
  }
  saver += std::string(50000, 'z');
  return saver;
}

constexpr uint32_t kTestFrameSize = 200000;

// Where each frame's header lies in a coded image.
std::vector<std::size_t> FrameStarts(const std::string& image) {
  std::vector<std::size_t> starts;
  for (std::size_t at = package::kImageHeaderSize; at < image.size();) {
    starts.push_back(at);
    at += package::kFrameHeaderSize +
          package::LittleEndian(reinterpret_cast<const uint8_t*>(image.data()) + at + 4, 4);
  }
  return starts;
}

struct DecodeRun {
  bool threw = false, damaged = false;
  std::string written;
  uint32_t checksum = 0;
  int64_t installed = 0;
  std::vector<int> percents;
  std::vector<std::string> writes;  // the fake's Write details: the count of each
};

DecodeRun RunDecode(fake::FakeOs& fake, const std::string& source, int64_t start, int64_t length) {
  DecodeRun run;
  run.written = CopyInFake(fake, source, start, [&](os::File& in, os::File& out) {
    std::vector<uint8_t> output(kCopyChunkSize), input(kCopyChunkSize);
    try {
      EXPECT_TRUE(ImageIsCoded(in, length));
      fake.log.Clear();
      run.installed = DecodeImage(in, out, length, output, input,
                                  [&run](int percent) { run.percents.push_back(percent); },
                                  run.checksum);
    } catch (const DamagedImage&) {
      run.threw = run.damaged = true;
    } catch (const InstallError&) {
      run.threw = true;
    }
  });
  for (const std::string& line : fake.log.LinesOf("Write")) run.writes.push_back(line);
  return run;
}

// A coded image installs byte for byte, in chunks of at most 100001 bytes with the bar after each;
// a flipped byte anywhere in it, a cut or a foreign image is refused as damaged.
TEST(InstallCopy, ACodedImageInstallsByteForByteAndADamagedOneNever) {
  const std::string saver = MixedSaver();
  const std::string coded = scrpack::CodedImageOf(saver, kTestFrameSize);
  const std::vector<std::size_t> frames = FrameStarts(coded);
  ASSERT_EQ(frames.size(), 3u);
  ASSERT_EQ(coded[frames[0]], char(package::FrameMethod::kLzma));
  ASSERT_EQ(coded[frames[1]], char(package::FrameMethod::kStored));
  const std::string stub(1000, 's'), tail(500, 't');
  struct Case {
    const char* name;
    std::size_t flipAt;  // in the coded image; npos: none
    int64_t cut;         // bytes taken off the image's length
    bool damaged;
  };
  constexpr std::size_t kNone = std::string::npos;
  const Case cases[] = {
      {"intact", kNone, 0, false},
      {"image header", 12, 0, true},
      {"frame header", frames[1] + 9, 0, true},
      {"frame header's method", frames[0], 0, true},
      {"coded frame", frames[0] + package::kFrameHeaderSize + 500, 0, true},
      {"last byte of a coded frame", frames[1] - 1, 0, true},
      {"stored frame", frames[1] + package::kFrameHeaderSize + 7, 0, true},
      {"last frame", coded.size() - 1, 0, true},
      {"image cut short", kNone, 1, true},
  };
  for (const Case& c : cases) {
    std::string image = coded;
    if (c.flipAt != kNone) image[c.flipAt] = char(image[c.flipAt] ^ 0x10);
    fake::FakeOs fake;
    const DecodeRun run =
        RunDecode(fake, stub + image + tail, int64_t(stub.size()), int64_t(image.size()) - c.cut);
    EXPECT_EQ(run.damaged, c.damaged) << c.name;
    EXPECT_EQ(run.threw, c.damaged) << c.name;
    if (c.damaged) continue;
    EXPECT_EQ(run.written, saver) << c.name;
    EXPECT_EQ(run.installed, int64_t(saver.size()));
    EXPECT_EQ(run.checksum, package::Crc32c(0, saver.data(), saver.size()));
    // Chunks of 100001 bytes, the last of each frame shorter: 100001 + 99999 per full frame.
    const std::vector<std::string> writes = {
        "Write C:\\stars.scr 100001", "Write C:\\stars.scr 99999", "Write C:\\stars.scr 100001",
        "Write C:\\stars.scr 99999",  "Write C:\\stars.scr 50000"};
    EXPECT_EQ(run.writes, writes);
    // The bar follows the coded bytes read; after the image it shows the stub's and image's share.
    ASSERT_EQ(run.percents.size(), writes.size());
    const std::size_t total = stub.size() + image.size() + tail.size();
    EXPECT_EQ(run.percents.back(),
              ProgressPercent(int64_t(stub.size() + image.size()), int64_t(total)));
    for (std::size_t i = 1; i < run.percents.size(); ++i)
      EXPECT_LE(run.percents[i - 1], run.percents[i]) << i;
  }
}

TEST(InstallCopy, TheImageSaysWhetherItIsCoded) {
  struct Case {
    const char* name;
    std::string image;
    bool coded;
  };
  const Case cases[] = {
      {"a program file", "MZ\x90\0rest", false},
      {"one byte", "M", false},
      {"empty", "", false},
      {"coded", scrpack::CodedImageOf("MZ program"), true},
      {"neither: a damaged program or a damaged coded image", "MX\x90\0", true},
  };
  for (const Case& c : cases) {
    fake::FakeOs fake;
    fake.files.AddFile("C:\\setup.exe", "stub" + c.image);
    auto in = fake.files.Open("C:\\setup.exe", os::OpenMode::kReadShareRead);
    in->Seek(4);
    EXPECT_EQ(ImageIsCoded(*in, int64_t(c.image.size())), c.coded) << c.name;
    EXPECT_EQ(in->Position(), 4) << c.name;
  }
}

}  // namespace
}  // namespace install
