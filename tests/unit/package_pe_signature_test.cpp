#include <gtest/gtest.h>

#include <cstdint>
#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

#include "package/package_checksums.h"
#include "package/package_reader.h"
#include "package/package_writer.h"
#include "package/pe_signature.h"
#include "package/uninstaller_writer.h"
#include "support/fake_os.h"
#include "support/pe_file.h"
#include "support/setup_file.h"

namespace {

void Put(std::vector<uint8_t>& b, std::size_t at, uint32_t value, int width) {
  for (int i = 0; i < width; ++i) b[at + i] = uint8_t(value >> (8 * i));
}
uint32_t Get(const std::vector<uint8_t>& b, std::size_t at, int width) {
  uint32_t v = 0;
  for (int i = 0; i < width; ++i) v |= uint32_t(b[at + i]) << (8 * i);
  return v;
}

// A PE header as linkers write it, with a checksum and a certificate-table entry. Every byte the
// headers do not set is a distinct filler, so stray writes show.
struct PeHeader {
  support::PeLayout layout;
  std::size_t lfanew = layout.pe;
  std::vector<uint8_t> bytes;
  std::size_t Optional() const { return layout.Optional(); }
  std::size_t CheckSum() const { return layout.CheckSum(); }
  std::size_t Count() const { return layout.DirectoryCount(); }
  std::size_t Certificate() const { return layout.CertificateEntry(); }

  explicit PeHeader(bool pe32plus) : layout{pe32plus} {
    std::string b(1024, '\0');
    for (std::size_t i = 0; i < b.size(); ++i) b[i] = char(uint8_t(i * 7 + 3));
    support::WritePeHeaders(b, layout);
    support::PutLittleEndian(b, CheckSum(), 0x0001F00D, 4);
    support::PutLittleEndian(b, Certificate(), 0x00123400, 4);
    support::PutLittleEndian(b, Certificate() + 4, 0x00001A28, 4);
    bytes.assign(b.begin(), b.end());
  }
};

TEST(ClearCertificateEntry, ClearsEntryAndChecksumOnlyInBothFormats) {
  for (bool plus : {false, true}) {
    PeHeader pe(plus);
    std::vector<uint8_t> expected = pe.bytes;
    Put(expected, pe.CheckSum(), 0, 4);
    Put(expected, pe.Certificate(), 0, 4);
    Put(expected, pe.Certificate() + 4, 0, 4);
    EXPECT_TRUE(package::ClearCertificateEntry(pe.bytes.data(), pe.bytes.size())) << plus;
    EXPECT_EQ(pe.bytes, expected) << (plus ? "PE32+" : "PE32");
  }
}

TEST(ClearCertificateEntry, LeavesAnythingElseUntouched) {
  struct Case {
    const char* name;
    std::function<void(PeHeader&)> damage;
    std::size_t size;  // 0: the whole buffer
  };
  const Case cases[] = {
      {"not MZ", [](PeHeader& p) { p.bytes[1] = 'X'; }, 0},
      {"e_lfanew beyond the buffer", [](PeHeader& p) { Put(p.bytes, 0x3C, 5000, 4); }, 0},
      {"e_lfanew near 4 GB", [](PeHeader& p) { Put(p.bytes, 0x3C, 0xFFFFFFF0u, 4); }, 0},
      {"no PE signature", [](PeHeader& p) { p.bytes[p.lfanew + 2] = 1; }, 0},
      {"unknown optional-header magic", [](PeHeader& p) { Put(p.bytes, p.Optional(), 0x107, 2); }, 0},
      {"only four data directories", [](PeHeader& p) { Put(p.bytes, p.Count(), 4, 4); }, 0},
      {"optional header too small for entry 4",
       [](PeHeader& p) { Put(p.bytes, p.lfanew + 20, uint32_t(p.Certificate() - p.Optional() + 7), 2); }, 0},
      {"header cut by the buffer end", [](PeHeader&) {}, 0x80 + 24 + 100},
      {"buffer smaller than the DOS header", [](PeHeader&) {}, 40},
      {"unsigned: entry already empty",
       [](PeHeader& p) {
         Put(p.bytes, p.Certificate(), 0, 4);
         Put(p.bytes, p.Certificate() + 4, 0, 4);
       },
       0},
  };
  for (bool plus : {false, true}) {
    for (const Case& c : cases) {
      PeHeader pe(plus);
      c.damage(pe);
      const std::vector<uint8_t> before = pe.bytes;
      EXPECT_FALSE(package::ClearCertificateEntry(pe.bytes.data(), c.size ? c.size : pe.bytes.size()))
          << c.name << (plus ? " PE32+" : " PE32");
      EXPECT_EQ(pe.bytes, before) << c.name;
    }
  }
  EXPECT_FALSE(package::ClearCertificateEntry(nullptr, 0));
}

// A setup file signed or not, carrying a signature for its uninstaller or not: the uninstaller
// points at a table only when it carries the one that was made for its very record.
TEST(WriteUninstaller, CarriesTheSignatureMadeForItsRecordOnly) {
  PeHeader pe(false);
  const std::string stub(pe.bytes.begin(), pe.bytes.end());
  support::SetupContents contents;
  contents.image = "image";
  contents.readme = "read me";
  package::FillPackageFields(contents.record, 5, 7, 0, 0);
  const uint32_t recordSum = package::RecordChecksum(contents.record);
  const std::string table = "\x08\0\0\0TABLE";
  struct Case {
    const char* name;
    bool setupSigned;
    std::optional<package::UninstallerSignature> signature;
    bool carried;
  };
  const Case cases[] = {
      {"unsigned, none", false, std::nullopt, false},
      {"signed setup, none", true, std::nullopt, false},
      {"fits", true, package::UninstallerSignature{recordSum, 0xABCD, 5, table}, true},
      {"fits, unsigned setup", false, package::UninstallerSignature{recordSum, 0xABCD, 0, table}, true},
      {"made for another record", true, package::UninstallerSignature{recordSum ^ 1, 0xABCD, 5, table}, false},
      {"more padding than a signing tool writes", true, package::UninstallerSignature{recordSum, 1, 8, table}, false},
      {"no table", true, package::UninstallerSignature{recordSum, 1, 0, ""}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string setup = support::AssembleSetupFile(stub, contents);
    if (c.setupSigned) setup += std::string(0x1A28, 'S');  // the signing tool's, behind the package
    std::vector<uint8_t> unsignedHead(pe.bytes);
    if (!c.setupSigned) Put(unsignedHead, pe.Certificate(), 0, 4), Put(unsignedHead, pe.Certificate() + 4, 0, 4);
    std::copy(unsignedHead.begin(), unsignedHead.end(), setup.begin());
    fake::FakeOs fake;
    fake.files.AddFile("C:\\setup.exe", setup);
    auto source = fake.files.Open("C:\\setup.exe", os::OpenMode::kReadShareRead);
    package::FileReadSource reader(*source);
    const int64_t end = package::RequirePackageEnd(reader);
    const auto record = package::ReadRecord(reader, end);
    {
      auto out = fake.files.Open("C:\\u.exe", os::OpenMode::kCreateAlways);
      package::WriteUninstaller(*source, *out, end, record, c.signature ? &*c.signature : nullptr);
    }
    const std::string written = *fake.files.Content("C:\\u.exe");
    const std::vector<uint8_t> head(written.begin(), written.begin() + 1024);
    const int64_t plainLength = package::UninstallerLength(end, record);
    EXPECT_EQ(plainLength, int64_t(stub.size() + 7 + 942));
    EXPECT_EQ(written.substr(1024, plainLength - 1024), setup.substr(1024, stub.size() - 1024) + "read me" +
                                                            setup.substr(end - 942, 932) + "ScUnin.sig");
    EXPECT_EQ(Get(head, pe.Optional(), 2), 0x10Bu);
    if (c.carried) {
      const uint32_t padding = c.signature->padding;
      EXPECT_EQ(Get(head, pe.Certificate(), 4), uint32_t(plainLength + padding));
      EXPECT_EQ(Get(head, pe.Certificate() + 4, 4), table.size());
      EXPECT_EQ(Get(head, pe.CheckSum(), 4), 0xABCDu);
      EXPECT_EQ(written.substr(plainLength), std::string(padding, '\0') + table);
    } else {
      EXPECT_EQ(Get(head, pe.Certificate(), 4), 0u);
      EXPECT_EQ(Get(head, pe.Certificate() + 4, 4), 0u);
      // A signed setup file's checksum no longer holds; an unsigned one's stub keeps its own.
      EXPECT_EQ(Get(head, pe.CheckSum(), 4), c.setupSigned ? 0u : 0x0001F00Du);
      EXPECT_EQ(int64_t(written.size()), plainLength);
    }
  }
}

}  // namespace
