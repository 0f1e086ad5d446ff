#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "package/errors.h"
#include "package/package_reader.h"
#include "package/sections.h"
#include "package/uninstaller_writer.h"
#include "support/fake_os.h"
#include "support/setup_file.h"

namespace {

constexpr char kSetupPath[] = "C:\\setup.exe";
constexpr char kOutPath[] = "C:\\uninstall stars.exe";

struct Fixture {
  fake::FakeOs fake;
  std::unique_ptr<os::File> source, out;
  int64_t packageEnd = 0;
  package::SettingsRecord record;

  explicit Fixture(const std::string& setupFile) {
    fake.files.AddFile(kSetupPath, setupFile);
    source = fake.files.Open(kSetupPath, os::OpenMode::kReadShareRead);
    package::FileReadSource reader(*source);
    packageEnd = package::RequirePackageEnd(reader);
    record = package::ReadRecord(reader, packageEnd);
    out = fake.files.Open(kOutPath, os::OpenMode::kCreateAlways);
  }
  void Write() { package::WriteUninstaller(*source, *out, packageEnd, record); }
  std::string Written() {
    out.reset();
    return fake.files.Content(kOutPath).value_or("<missing>");
  }
};

std::string Stub(std::size_t n) {
  std::string stub(n, '\0');
  for (std::size_t i = 0; i < n; ++i) stub[i] = char('a' + i % 23);
  return stub;
}

std::string RecordBytes(const package::SettingsRecord& r) {
  return std::string(reinterpret_cast<const char*>(r.Raw().data()), 932);
}

TEST(WriteUninstaller, LayoutForVariousPackages) {
  struct Case {
    const char* name;
    std::size_t stub;
    std::string readme, license, language, trailing;
  };
  const Case cases[] = {
      {"all texts", 3000, "read me\r\n", "licence", "[Setup]\nNext=Weiter\n", ""},
      {"no texts", 3000, "", "", "", ""},
      {"trailing data is left out", 3000, "r", "", "", std::string(100, 'T')},
      {"trailing data ending in a signature", 3000, "", "l", "", "xxScUnin.sig"},
      {"stub spanning several copy pieces", 200000, "r", "l", "g", ""},
  };
  for (const Case& c : cases) {
    support::SetupContents contents;
    contents.image = std::string(5000, 'I');
    contents.readme = c.readme;
    contents.license = c.license;
    contents.language = c.language;
    contents.record.SetTitle("Stars");
    const std::string setup = support::AssembleSetupFile(Stub(c.stub), contents) + c.trailing;
    Fixture f(setup);
    // The trailing signature wins the search; the layout is then taken from there, as at start-up.
    if (c.trailing.find("ScUnin.sig") != std::string::npos) {
      EXPECT_EQ(f.packageEnd, int64_t(setup.size())) << c.name;
      continue;
    }
    f.record.SetScreensaverFileName("Stars_x.scr");  // changed in memory after reading
    f.Write();
    const std::string texts = c.readme + c.license + c.language;
    const std::string expected = Stub(c.stub) + texts + RecordBytes(f.record) + "ScUnin.sig";
    const std::string written = f.Written();
    EXPECT_EQ(written.size(), expected.size()) << c.name;
    EXPECT_TRUE(written == expected) << c.name;

    // It reads back as an uninstaller that keeps the setup file's PackageSize.
    package::MemoryReadSource back(written);
    const auto info = package::ReadPackage(back);
    EXPECT_EQ(info.kind, package::PackageKind::kUninstaller) << c.name;
    EXPECT_EQ(info.record.PackageSize(), f.record.PackageSize()) << c.name;
    EXPECT_EQ(info.record.ScreensaverFileName(), "Stars_x.scr") << c.name;
    EXPECT_EQ(info.language, c.language) << c.name;
  }
}

TEST(WriteUninstaller, CopiesInBoundedPieces) {
  support::SetupContents contents;
  contents.image = "img";
  contents.readme = std::string(300000, 'r');
  Fixture f(support::AssembleSetupFile(Stub(1 << 20), contents));
  f.fake.log.Clear();
  f.Write();
  int reads = 0;
  for (const auto& call : f.fake.log.Calls()) {
    if (call.op != "Read" && call.op != "Write") continue;
    EXPECT_LE(std::stoll(call.detail), 64 * 1024) << call.Line();
    reads += call.op == "Read";
  }
  EXPECT_GE(reads, 16 + 4);
}

TEST(WriteUninstaller, ShortReadsAndWritesAreErrors) {
  support::SetupContents contents;
  contents.image = std::string(1000, 'I');
  contents.readme = "readme";
  const std::string setup = support::AssembleSetupFile(Stub(150000), contents);
  struct Case {
    const char* name;
    std::function<void(Fixture&)> inject;
  };
  const Case cases[] = {
      {"first stub read fails", [](Fixture& f) { f.fake.FailNth("Read", 1); }},
      {"a later stub read fails", [](Fixture& f) { f.fake.FailNth("Read", 3); }},
      {"texts read fails", [](Fixture& f) { f.fake.FailNth("Read", 4); }},
      {"seek to the texts fails", [](Fixture& f) { f.fake.FailNth("Seek", 2); }},
      {"first write fails", [](Fixture& f) { f.fake.FailNth("Write", 1); }},
      {"disk full during the stub", [](Fixture& f) { f.fake.files.SetFreeSpace(100000); }},
      {"disk full at the record", [](Fixture& f) { f.fake.files.SetFreeSpace(150006 + 100); }},
      {"disk full at the signature", [](Fixture& f) { f.fake.files.SetFreeSpace(150006 + 932 + 5); }},
  };
  for (const Case& c : cases) {
    Fixture f(setup);
    f.fake.log.Clear();
    c.inject(f);
    EXPECT_THROW(f.Write(), package::WriteError) << c.name;
  }
  // Without a fault the same setup writes through (the cases above fail for their fault only).
  Fixture f(setup);
  EXPECT_NO_THROW(f.Write());
}

TEST(WriteUninstaller, DamagedRecordWritesNothing) {
  support::SetupContents contents;
  contents.image = "img";
  Fixture f(support::AssembleSetupFile(Stub(100), contents));
  f.record.SetPackageSize(f.record.PackageSize() + 1000);  // stub would start before the file
  EXPECT_THROW(f.Write(), package::CorruptedPackage);
  EXPECT_EQ(f.Written(), "");
}

}  // namespace
