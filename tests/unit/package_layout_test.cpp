#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "package/errors.h"
#include "package/package_reader.h"
#include "package/package_writer.h"
#include "package/sections.h"
#include "support/setup_file.h"

namespace {

using package::SettingsRecord;

SettingsRecord Sizes(int32_t packageSize, int32_t texts, int32_t readme, int32_t license, int32_t language) {
  SettingsRecord r;
  r.SetPackageSize(packageSize);
  r.SetTextsSize(texts);
  r.SetReadmeSize(readme);
  r.SetLicenseSize(license);
  r.SetLanguageSize(language);
  return r;
}

TEST(PackageSections, PositionsOfASetupFile) {
  // Stub of 40,000 bytes, image of 957,122 bytes, texts 10 + 20 + 30, then 100 trailing bytes.
  support::SetupContents contents;
  contents.image = std::string(957122, 'i');
  contents.readme = std::string(10, 'r');
  contents.license = std::string(20, 'l');
  contents.language = std::string(30, 'g');
  const std::string file = support::AssembleSetupFile(std::string(40000, 's'), contents) + std::string(100, 't');
  package::MemoryReadSource source(file);
  const package::PackageInfo info = package::ReadPackage(source);
  const int64_t end = info.packageEnd;
  const SettingsRecord& r = info.record;

  EXPECT_EQ(end, int64_t(file.size()) - 100);
  EXPECT_EQ(r.PackageSize(), 957122 + 60 + 942);
  struct Row {
    const char* name;
    int64_t actual, expected;
  } rows[] = {
      {"StubLength", package::StubLength(end, r), 40000},
      {"ImageStart", package::ImageStart(end, r), 40000},
      {"ImageLength", package::ImageLength(r), 957122},
      {"ReadmeStart", package::ReadmeStart(end, r), 40000 + 957122},
      {"LicenseStart", package::LicenseStart(end, r), 40000 + 957122 + 10},
      {"LanguageStart", package::LanguageStart(end, r), 40000 + 957122 + 30},
      {"RecordStart", package::RecordStart(end), 40000 + 957122 + 60},
      {"SignatureStart", package::SignatureStart(end), 40000 + 957122 + 60 + 932},
  };
  for (const Row& row : rows) EXPECT_EQ(row.actual, row.expected) << row.name;
  EXPECT_EQ(info.readme, contents.readme);
  EXPECT_EQ(info.license, contents.license);
  EXPECT_EQ(info.language, contents.language);
  EXPECT_EQ(file.substr(40000, 957122), contents.image);
}

TEST(PackageSections, ImageWithoutTextsGivesTheDocumentedPackageSize) {
  support::SetupContents contents;
  contents.image = std::string(957122, 'i');
  const std::string file = support::AssembleSetupFile("MZ", contents);
  package::MemoryReadSource source(file);
  const auto info = package::ReadPackage(source);
  EXPECT_EQ(info.record.PackageSize(), 958064);
  EXPECT_EQ(info.record.TextsSize(), 0);
  EXPECT_EQ(info.language, "");
  EXPECT_EQ(package::ImageStart(info.packageEnd, info.record), 2);
  EXPECT_EQ(package::TextsStart(info.packageEnd, info.record), package::RecordStart(info.packageEnd));
  EXPECT_EQ(info.record.RecordMarker(), "SCRSet.sig");
}

TEST(PackageSections, Validation) {
  // PackageEnd 10,000: record at 9,058, so 9,058 bytes lie in front of it.
  constexpr int64_t kEnd = 10000;
  struct Case {
    const char* name;
    SettingsRecord record;
    bool textsOk;  // both modes
    bool imageOk;  // setup files only
  };
  const Case cases[] = {
      {"ordinary", Sizes(5000, 60, 10, 20, 30), true, true},
      {"no texts", Sizes(942, 0, 0, 0, 0), true, true},
      {"whole file is package", Sizes(10000, 0, 0, 0, 0), true, true},
      {"texts fill everything in front of the record", Sizes(10000, 9058, 9058, 0, 0), true, true},
      {"negative TextsSize", Sizes(5000, -1, 0, 0, 0), false, false},
      {"negative ReadmeSize", Sizes(5000, 60, -10, 20, 30), false, false},
      {"negative LicenseSize", Sizes(5000, 60, 10, -20, 30), false, false},
      {"negative LanguageSize", Sizes(5000, 60, 10, 20, -30), false, false},
      {"texts start before the file", Sizes(5000, 9059, 0, 0, 0), false, false},
      {"language text runs past PackageEnd", Sizes(5000, 60, 10, 20, 1000), false, false},
      {"huge readme", Sizes(5000, 60, 0x7FFFFFFF, 0, 0), false, false},
      {"negative PackageSize", Sizes(-5, 0, 0, 0, 0), true, false},
      {"PackageSize beyond the file", Sizes(10001, 0, 0, 0, 0), true, false},
      {"PackageSize too small for the trailer", Sizes(941, 0, 0, 0, 0), true, false},
      {"image length negative through the texts", Sizes(1000, 60, 10, 20, 30), true, false},
      {"PackageSize at int32 limit", Sizes(0x7FFFFFFF, 0, 0, 0, 0), true, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(!([&] {
                try {
                  package::ValidateTexts(c.record, kEnd);
                  return false;
                } catch (const package::CorruptedPackage&) {
                  return true;
                }
              }()),
              c.textsOk)
        << c.name << " (texts)";
    EXPECT_EQ(!([&] {
                try {
                  package::ValidateImage(c.record, kEnd);
                  return false;
                } catch (const package::CorruptedPackage&) {
                  return true;
                }
              }()),
              c.imageOk)
        << c.name << " (image)";
  }
}

TEST(PackageSections, TrailerMustFitInFrontOfPackageEnd) {
  EXPECT_THROW(package::ValidateTrailer(941), package::CorruptedPackage);
  EXPECT_THROW(package::ValidateTrailer(-1), package::CorruptedPackage);
  EXPECT_NO_THROW(package::ValidateTrailer(942));
  // The texts of a record that claims nothing still need the record in front of PackageEnd.
  EXPECT_THROW(package::ValidateTexts(Sizes(0, 0, 0, 0, 0), 100), package::CorruptedPackage);
}

std::string SmallSetupFile() {
  support::SetupContents contents;
  contents.image = "IMAGE";
  contents.readme = "readme";
  contents.license = "licence";
  contents.language = "[Setup]\n";
  return support::AssembleSetupFile("STUB", contents);
}

TEST(PackageReader, DamagedFilesAreCorruptedPackages) {
  const std::string good = SmallSetupFile();
  const std::size_t recordAt = good.size() - 942;
  auto withInt = [&](std::size_t offset, int32_t value) {
    std::string f = good;
    for (int i = 0; i < 4; ++i) f[recordAt + offset + i] = char(uint32_t(value) >> (8 * i));
    return f;
  };
  struct Case {
    const char* name;
    std::string file;
  } cases[] = {
      {"no signature", good.substr(0, good.size() - 1)},
      {"signature without a record in front", "ZUZOri.sig"},
      {"only 941 bytes before the signature end", good.substr(good.size() - 941)},
      {"negative LanguageSize", withInt(412, -8)},
      {"LanguageSize past the end", withInt(412, 100000)},
      {"negative ReadmeSize", withInt(404, -1)},
      {"TextsSize larger than the file", withInt(400, 0x7FFFFFF0)},
      {"negative PackageSize", withInt(0, -1)},
      {"PackageSize larger than the file", withInt(0, 1 << 30)},
  };
  for (const Case& c : cases) {
    package::MemoryReadSource source(c.file);
    EXPECT_THROW(package::ReadPackage(source), package::CorruptedPackage) << c.name;
  }
}

TEST(PackageReader, UninstallerIsReadWithoutLookingAtPackageSize) {
  // An uninstaller keeps the setup file's PackageSize, which is far larger than the file itself.
  SettingsRecord record = Sizes(50000000, 4, 4, 0, 0);
  record.SetRecordMarker("SCRSet.sig");
  std::string file = "STUB" + std::string("text");
  file.append(reinterpret_cast<const char*>(record.Raw().data()), 932);
  file += "ScUnin.sig";
  package::MemoryReadSource source(file);
  const auto info = package::ReadPackage(source);
  EXPECT_EQ(info.kind, package::PackageKind::kUninstaller);
  EXPECT_EQ(info.readme, "text");
  EXPECT_EQ(info.record.PackageSize(), 50000000);
}

TEST(PackageReader, ShortReadsAreCorruptedPackages) {
  // A source that says it is larger than the bytes it can deliver.
  class Liar : public package::MemoryReadSource {
   public:
    using MemoryReadSource::MemoryReadSource;
    int64_t Size() noexcept override { return MemoryReadSource::Size() + 50; }
  };
  const std::string file = SmallSetupFile();
  Liar source(file);
  EXPECT_THROW(package::ReadExactly(source, int64_t(file.size()) - 5, 10), package::CorruptedPackage);
  EXPECT_THROW(package::ReadExactly(source, -1, 1), package::CorruptedPackage);
  EXPECT_THROW(package::ReadExactly(source, 0, int64_t(file.size()) + 51), package::CorruptedPackage);
  EXPECT_EQ(package::ReadExactly(source, 0, 4), "STUB");
}

TEST(PackageReader, FixedWidthFieldsWithoutNulAreReadAtFullWidth) {
  support::SetupContents contents;
  contents.record.SetTitle(std::string(32, 'T'));
  contents.record.SetLinkText(std::string(102, 'L'));
  contents.record.SetDefaultFolder("");
  const std::string file = support::AssembleSetupFile("S", contents);
  package::MemoryReadSource source(file);
  const auto info = package::ReadPackage(source);
  EXPECT_EQ(info.record.Title(), std::string(32, 'T'));
  EXPECT_EQ(info.record.LinkText(), std::string(102, 'L'));
  EXPECT_EQ(info.record.DefaultFolder(), "");
}

TEST(PackageWriter, RefusesSizesBeyondThirtyTwoBits) {
  SettingsRecord record;
  EXPECT_THROW(package::FillPackageFields(record, 0x7FFFFFFF, 0, 0, 0), package::PackageTooLarge);
  EXPECT_THROW(package::FillPackageFields(record, 0, 0x80000000LL, 0, 0), package::PackageTooLarge);
  EXPECT_THROW(package::FillPackageFields(record, 0, 0x40000000, 0x40000000, 0), package::PackageTooLarge);
  EXPECT_THROW(package::FillPackageFields(record, -1, 0, 0, 0), package::PackageTooLarge);
  EXPECT_NO_THROW(package::FillPackageFields(record, package::MaxImageLength(10), 10, 0, 0));
  EXPECT_EQ(record.PackageSize(), 0x7FFFFFFF);
}

}  // namespace
