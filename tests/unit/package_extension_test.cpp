// The extension block and its checksums: what a builder writes reads back, and anything damaged
// is ignored as trailing data rather than trusted.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "package/checksum.h"
#include "package/errors.h"
#include "package/extension_block.h"
#include "package/package_checksums.h"
#include "package/package_reader.h"
#include "package/sections.h"
#include "support/setup_file.h"

namespace {

TEST(Crc32c, KnownValueAndBothWaysAgree) {
  EXPECT_EQ(package::Crc32c(0, "123456789", 9), 0xE3069283u);  // the published check value
  EXPECT_EQ(package::Crc32cByTable(0, "123456789", 9), 0xE3069283u);
  std::string bytes(60000, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = char(i * 131 + (i >> 7));
  // Every alignment, the byte tail, the word loop, and groups of three short and three long
  // stripes with and without something left over; and continuation.
  for (std::size_t skip : {0, 1, 2, 3}) {
    for (std::size_t length : {0, 1, 3, 4, 5, 7, 8, 767, 768, 1000, 24575, 24576, 24576 + 768 + 13, 59990}) {
      const char* p = bytes.data() + skip;
      const uint32_t whole = package::Crc32c(0, p, length);
      EXPECT_EQ(package::Crc32cByTable(0, p, length), whole) << skip << "+" << length;
      const std::size_t half = length / 2;
      EXPECT_EQ(package::Crc32c(package::Crc32c(0, p, half), p + half, length - half), whole);
    }
  }
}

package::ExtensionBlock FullBlock() {
  package::ExtensionBlock block;
  block.publisher = "Nachtlicht GmbH";
  block.version = "2.1 = final";
  block.shellInstall = false;
  block.checksums = package::PackageChecksums{1, 0xFFFFFFFF, 0x80000000};
  block.uninstallerSignature = package::UninstallerSignature{7, 0x1234, 3, std::string("\0\x02tab", 5)};
  return block;
}

std::string Contents(const std::string& encoded) { return encoded.substr(package::kExtensionHeaderSize); }

TEST(ExtensionBlock, WhatIsWrittenReadsBack) {
  const std::string file = "package...ZUZOri.sig" + package::EncodeExtension(FullBlock()) + "SIGNATURE";
  package::MemoryReadSource source(file);
  const auto block = package::ReadExtension(source, 20);
  ASSERT_TRUE(block);
  EXPECT_EQ(block->publisher, "Nachtlicht GmbH");
  EXPECT_EQ(block->version, "2.1 = final");
  EXPECT_FALSE(block->shellInstall);
  EXPECT_TRUE(block->checksums == FullBlock().checksums);
  ASSERT_TRUE(block->uninstallerSignature);
  EXPECT_EQ(block->uninstallerSignature->recordChecksum, 7u);
  EXPECT_EQ(block->uninstallerSignature->peChecksum, 0x1234u);
  EXPECT_EQ(block->uninstallerSignature->padding, 3u);
  EXPECT_EQ(block->uninstallerSignature->table, std::string("\0\x02tab", 5));

  const auto empty = package::DecodeExtensionContents(Contents(package::EncodeExtension({})));
  ASSERT_TRUE(empty);
  EXPECT_TRUE(empty->shellInstall);
  EXPECT_FALSE(empty->checksums || empty->uninstallerSignature);
  // A later builder's sections and keys are passed over.
  const auto later = package::DecodeExtensionContents(std::string("NEWS\x03\0\0\0abc", 11) +
                                                     std::string("META\x0c\0\0\0colour=red\nx", 20));
  ASSERT_TRUE(later);
  EXPECT_TRUE(later->publisher.empty());
}

TEST(ExtensionBlock, ADamagedOrForeignBlockIsIgnored) {
  const std::string good = package::EncodeExtension(FullBlock());
  struct Case {
    const char* name;
    std::function<std::string(std::string)> damage;
  };
  const Case cases[] = {
      {"no block at all", [](std::string) { return std::string(); }},
      {"a code signature instead", [](std::string b) { return std::string(b.size(), 'S'); }},
      {"a byte of the contents flipped", [](std::string b) { b[30] ^= 1; return b; }},
      {"the checksum flipped", [](std::string b) { b[16] ^= 0x40; return b; }},
      {"cut short", [](std::string b) { return b.substr(0, b.size() - 1); }},
      {"header cut short", [](std::string b) { return b.substr(0, 19); }},
      {"a later version", [](std::string b) { b[8] = 2; return b; }},
      {"a size beyond the limit", [](std::string b) { b[15] = 0x7F; return b; }},
  };
  for (const Case& c : cases) {
    const std::string file = "ZUZOri.sig" + c.damage(good);
    package::MemoryReadSource source(file);
    EXPECT_FALSE(package::ReadExtension(source, 10)) << c.name;
    // Start-up installs without it only when the record does not announce it.
    EXPECT_TRUE(package::RequireExtension(source, 10, false).shellInstall) << c.name;
    EXPECT_THROW(package::RequireExtension(source, 10, true), package::CorruptedPackage) << c.name;
  }
  const std::string intact = "ZUZOri.sig" + good;
  package::MemoryReadSource source(intact);
  EXPECT_FALSE(package::RequireExtension(source, 10, true).shellInstall);
  // In a signed file the block lies in front of the certificate table.
  const std::string signedFile = support::SignedLikeATool(support::PeStub() + "ZUZOri.sig" + good, "TABLE");
  package::MemoryReadSource signedSource(signedFile);
  EXPECT_TRUE(package::ReadExtension(signedSource, 0x200 + 10));

  // A section that claims more than the contents hold, or sums too short to hold three.
  EXPECT_FALSE(package::DecodeExtensionContents(std::string("META\x09\0\0\0abc", 11)));
  EXPECT_FALSE(package::DecodeExtensionContents(std::string("SUMS\x04\0\0\0abcd", 12)));
}

TEST(ExtensionBlock, WhatWouldMisleadAReaderIsRefused) {
  package::ExtensionBlock marker = FullBlock();
  marker.uninstallerSignature->table = "xxScUnin.sigxx";  // would be taken for the package's end
  EXPECT_THROW(package::EncodeExtension(marker), package::UnfitExtension);
  marker.uninstallerSignature->table = "ZUZOri.si";
  marker.publisher = "g";  // the block's own bytes around it make no marker either
  EXPECT_NO_THROW(package::EncodeExtension(marker));
  package::ExtensionBlock lineBreak;
  lineBreak.version = "1\nshell-install=no";
  EXPECT_THROW(package::EncodeExtension(lineBreak), package::UnfitExtension);
  package::ExtensionBlock huge;
  huge.uninstallerSignature = package::UninstallerSignature{0, 0, 0, std::string(package::kMaxExtensionContents, 'T')};
  EXPECT_THROW(package::EncodeExtension(huge), package::UnfitExtension);
}

TEST(PackageChecksums, EachPartIsCheckedOnItsOwn) {
  support::SetupContents contents = support::StarsContents();
  contents.image = "MZ" + contents.image;  // stored: a flipped byte changes the installed bytes
  contents.coded = false;
  contents.readme = "Readme";
  contents.language = "[Setup]\r\nNext=Weiter";
  contents.extension = package::ExtensionBlock{};
  const std::string setup = support::AssembleSetupFile(std::string(700, 'M'), contents);
  package::MemoryReadSource intact(setup);
  const int64_t end = package::RequirePackageEnd(intact);
  const package::SettingsRecord record = package::ReadRecord(intact, end);
  const auto block = package::ReadExtension(intact, end);
  ASSERT_TRUE(block && block->checksums);
  EXPECT_TRUE(package::ComputeChecksums(intact, end, record) == *block->checksums);
  EXPECT_NO_THROW(package::RequireIntactTextsAndRecord(intact, end, record, *block));

  struct Case {
    const char* name;
    int64_t at;
    bool startUpSees;  // the image is checked as it is copied, not at start-up
  };
  const Case cases[] = {
      {"image", package::ImageStart(end, record) + 100, false},
      {"readme", package::ReadmeStart(end, record), true},
      {"language", package::LanguageStart(end, record) + 5, true},
      {"title in the record", package::RecordStart(end) + 262, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string damaged = setup;
    damaged[std::size_t(c.at)] ^= 0x20;
    package::MemoryReadSource source(damaged);
    const package::SettingsRecord read = package::ReadRecord(source, end);
    EXPECT_FALSE(package::ComputeChecksums(source, end, read) == *block->checksums);
    if (c.startUpSees) {
      EXPECT_THROW(package::RequireIntactTextsAndRecord(source, end, read, *block), package::CorruptedPackage);
    } else {
      EXPECT_NO_THROW(package::RequireIntactTextsAndRecord(source, end, read, *block));
    }
  }
  // Without checksums there is nothing to hold the file against.
  EXPECT_NO_THROW(package::RequireIntactTextsAndRecord(intact, end, package::SettingsRecord(), {}));
}

}  // namespace
