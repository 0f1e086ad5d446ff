#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <random>
#include <string>

#include "package/package_end.h"
#include "package/read_source.h"
#include "support/setup_file.h"

namespace {

const std::string kSetup = "ZUZOri.sig";
const std::string kUninstall = "ScUnin.sig";

// The search as it is meant, with nothing clever: one 10-byte read per candidate end.
std::optional<int64_t> ReferencePackageEnd(const std::string& file) {
  package::MemoryReadSource source(file);
  char window[10];
  for (int64_t end = int64_t(file.size()); end > 0; --end) {
    uint32_t got = 0;
    if (end < 10 || !source.ReadAt(end - 10, window, 10, got) || got != 10) continue;
    if (std::memcmp(window, kSetup.data(), 10) == 0 || std::memcmp(window, kUninstall.data(), 10) == 0)
      return end;
  }
  return std::nullopt;
}

std::optional<int64_t> Find(const std::string& file) {
  package::MemoryReadSource source(file);
  return package::FindPackageEnd(source);
}

std::string Bytes(std::size_t n, char fill = 'x') { return std::string(n, fill); }

TEST(FindPackageEnd, Cases) {
  struct Case {
    const char* name;
    std::string file;
    std::optional<int64_t> expected;
  };
  const std::string setupFile = Bytes(5000) + kSetup;
  const Case cases[] = {
      {"signature at the very end", setupFile, 5010},
      {"100 bytes appended", setupFile + Bytes(100), 5010},
      {"appended data ending in the uninstaller signature", setupFile + Bytes(50) + kUninstall, 5070},
      {"uninstaller signature", Bytes(3) + kUninstall, 13},
      {"nearest to the end wins", kSetup + Bytes(7) + kUninstall + Bytes(2), 27},
      {"file is exactly a signature", kSetup, 10},
      {"no signature", Bytes(70000), std::nullopt},
      {"empty file", "", std::nullopt},
      {"shorter than a signature", "ZUZOri.si", std::nullopt},
      {"signature cut by the file start", std::string("UZOri.sig") + Bytes(20), std::nullopt},
      {"case matters", Bytes(4) + "zuzori.sig", std::nullopt},
      {"NUL inside does not match", Bytes(4) + std::string("ZUZOri\0sig", 10), std::nullopt},
      {"overlapping partial signatures", "ZUZOZUZOri.sigri.sig", 14},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Find(c.file), c.expected) << c.name;
    EXPECT_EQ(ReferencePackageEnd(c.file), c.expected) << c.name << " (reference)";
  }
}

// Plants signatures, partial signatures and look-alikes at random places, near the 64 KB block
// boundaries of the backward scan in particular, and compares with the byte-by-byte search.
TEST(FindPackageEnd, AgreesWithByteByByteSearchOnRandomFiles) {
  std::mt19937 random(20240611);
  const std::string pieces[] = {kSetup, kUninstall, "ZUZOri.si", "UZOri.sig", "ScUnin.sIg", "g", ".sig"};
  for (int round = 0; round < 200; ++round) {
    const std::size_t size = std::uniform_int_distribution<std::size_t>(0, 150000)(random);
    std::string file(size, '\0');
    for (std::size_t i = 0; i < size; i += 4) {
      const uint32_t r = random();
      for (std::size_t k = 0; k < 4 && i + k < size; ++k) file[i + k] = char(r >> (8 * k));
    }
    const int plants = std::uniform_int_distribution<int>(0, 4)(random);
    for (int p = 0; p < plants && size > 0; ++p) {
      const std::string& piece = pieces[std::uniform_int_distribution<std::size_t>(0, 6)(random)];
      std::size_t at;
      if (random() % 2) {
        // Around a block boundary counted from the end: the scan's blocks end at size - k * 65536.
        const std::size_t fromEnd = (1 + random() % 3) * 65536 + random() % 24;
        if (fromEnd > size) continue;
        at = size - fromEnd;
      } else {
        at = std::uniform_int_distribution<std::size_t>(0, size - 1)(random);
      }
      file.replace(at, std::min(piece.size(), size - at), piece.substr(0, size - at));
    }
    ASSERT_EQ(Find(file), ReferencePackageEnd(file)) << "round " << round << ", size " << size;
  }
}

TEST(FindPackageEnd, EverySignaturePositionAcrossABlockBoundary) {
  // The signature slides one byte at a time across the first boundary of the backward scan.
  const std::size_t size = 65536 + 60;
  for (std::size_t at = 0; at + 10 <= 120; ++at) {
    std::string file(size, 'a');
    const std::size_t start = size - 65536 - 30 + at;
    file.replace(start, 10, kUninstall);
    ASSERT_EQ(Find(file), int64_t(start + 10)) << "start " << start;
  }
}

// A signature's hash covers the file up to its certificate table and nothing in it or behind it:
// a marker there is never a package, and says that someone put one where the signature does not
// look. A signed setup file's own package and block lie in front of the table.
TEST(FindPackageEnd, NothingInOrBehindACertificateTableIsAPackage) {
  const std::string setup = support::PeStub() + Bytes(3000) + kSetup;
  const auto end = int64_t(setup.size());
  const std::string table = std::string("\x30\0\0\0\0\x02\x02\0", 8) + Bytes(40, 'T');
  const std::string signedSetup = support::SignedLikeATool(setup, table);
  const std::string forged = Bytes(700, 'F') + std::string(932, '\0') + kSetup;
  struct Case {
    const char* name;
    std::string file;
    std::optional<int64_t> expected;  // empty: tampered
  };
  const Case cases[] = {
      {"signed", signedSetup, end},
      {"signed, a block between package and table", support::SignedLikeATool(setup + Bytes(77, 'B'), table), end},
      {"signed, the table cut off the file", signedSetup.substr(0, signedSetup.size() - table.size()), end},
      {"a package forged at the end of the table", support::ForgedInCertificateTable(signedSetup, forged), std::nullopt},
      {"a package forged in the middle of the table",
       support::ForgedInCertificateTable(signedSetup, forged + Bytes(100, 'T')), std::nullopt},
      {"a marker in the table of a file without package",
       support::SignedLikeATool(support::PeStub() + Bytes(64), kUninstall + Bytes(6)), std::nullopt},
      {"a marker behind the table", signedSetup + Bytes(20) + kUninstall, std::nullopt},
      {"a marker across the table's start", support::SignedLikeATool(setup + Bytes(8) + "ZUZOri", ".sig" + Bytes(12)),
       std::nullopt},
  };
  for (const Case& c : cases) {
    package::MemoryReadSource source(c.file);
    const package::PackageSearch search = package::SearchPackageEnd(source);
    EXPECT_EQ(search.end, c.expected.value_or(0)) << c.name;
    EXPECT_EQ(search.markerInCertificateTable, !c.expected) << c.name;
    EXPECT_EQ(Find(c.file), c.expected) << c.name;
  }
}

// A source whose reads fail: the search reports nothing rather than a wrong position.
class FailingSource : public package::ReadSource {
 public:
  explicit FailingSource(int64_t size) : size_(size) {}
  int64_t Size() noexcept override { return size_; }
  bool ReadAt(int64_t, void*, uint32_t, uint32_t& delivered) noexcept override {
    delivered = 0;
    return false;
  }

 private:
  int64_t size_;
};

// Counts reads, so that a scan that went back to one small read per byte shows up.
class CountingSource : public package::MemoryReadSource {
 public:
  using MemoryReadSource::MemoryReadSource;
  bool ReadAt(int64_t position, void* buffer, uint32_t count, uint32_t& delivered) noexcept override {
    ++reads;
    return MemoryReadSource::ReadAt(position, buffer, count, delivered);
  }
  int reads = 0;
};

TEST(FindPackageEnd, SixteenMegabytesOfTrailingDataTakeFewReads) {
  const std::string file = Bytes(1000) + kSetup + Bytes(16 << 20, 'z');
  CountingSource source(file);
  EXPECT_EQ(package::FindPackageEnd(source), 1010);
  EXPECT_LE(source.reads, (16 << 20) / 65536 + 2);

  const std::string plain = Bytes(1000) + kSetup;
  CountingSource single(plain);
  EXPECT_EQ(package::FindPackageEnd(single), 1010);
  EXPECT_LE(single.reads, 2);  // the program header, then the last block
}

TEST(FindPackageEnd, UnreadableSourceFindsNothing) {
  FailingSource unreadable(100000);
  EXPECT_EQ(package::FindPackageEnd(unreadable), std::nullopt);
  FailingSource sizeUnknown(-1);
  EXPECT_EQ(package::FindPackageEnd(sizeUnknown), std::nullopt);
}

}  // namespace
