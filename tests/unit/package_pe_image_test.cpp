#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "package/package_end.h"
#include "package/pe_image.h"
#include "package/read_source.h"
#include "support/pe_file.h"
#include "support/setup_file.h"

namespace {

constexpr auto Put = &support::PutLittleEndian;

constexpr support::PeLayout kLayout{};
constexpr std::size_t kPe = kLayout.pe;
constexpr std::size_t kSectionTable = kLayout.SectionTable();

// A PE32 program of 2,560 bytes with two sections (0x400..0x600 and 0x600..0xA00) whose constant
// data holds both signature texts, as the real stub's does.
std::string Program() {
  std::string p(0xA00, '\0');
  support::WritePeHeaders(p, kLayout);
  support::AddPeSection(p, kLayout, 0x400, 0x200);
  support::AddPeSection(p, kLayout, 0x600, 0x400);
  p.replace(0x700, 22, "ZUZOri.sig\0ScUnin.sig\0", 22);
  return p;
}

TEST(PeImageEnd, ReadsTheEndOfTheLastSection) {
  struct Case {
    const char* name;
    std::function<void(std::string&)> change;
    int64_t expected;
  };
  const Case cases[] = {
      {"well-formed", [](std::string&) {}, 0xA00},
      {"sections listed out of order",
       [](std::string& p) {
         const std::string first = p.substr(kSectionTable, 40);
         p.replace(kSectionTable, 40, p.substr(kSectionTable + 40, 40));
         p.replace(kSectionTable + 40, 40, first);
       },
       0xA00},
      {"a section without raw data is skipped", [](std::string& p) { Put(p, kSectionTable + 40 + 16, 0, 4); }, 0x600},
      {"not MZ", [](std::string& p) { p[0] = 'N'; }, 0},
      {"no PE signature", [](std::string& p) { p[kPe + 1] = 'X'; }, 0},
      {"e_lfanew beyond the bytes", [](std::string& p) { Put(p, 0x3C, 0xFFFFFFF0u, 4); }, 0},
      {"no sections", [](std::string& p) { Put(p, kPe + 6, 0, 2); }, 0},
      {"more sections than the loader takes", [](std::string& p) { Put(p, kPe + 6, 97, 2); }, 0},
      {"section table beyond the bytes", [](std::string& p) { Put(p, kPe + 20, 0xFFFF, 2); }, 0},
  };
  for (const Case& c : cases) {
    std::string p = Program();
    c.change(p);
    EXPECT_EQ(package::PeImageEnd(reinterpret_cast<const uint8_t*>(p.data()), p.size()), c.expected) << c.name;
  }
  const std::string p = Program();
  EXPECT_EQ(package::PeImageEnd(reinterpret_cast<const uint8_t*>(p.data()), kSectionTable + 60), 0) << "cut table";
}

std::optional<int64_t> Find(const std::string& file) {
  package::MemoryReadSource source(file);
  return package::FindPackageEnd(source);
}

TEST(FindPackageEnd, SignatureTextsInsideTheProgramAreNotAPackage) {
  const std::string program = Program();
  EXPECT_EQ(Find(program), std::nullopt) << "bare program";
  EXPECT_EQ(Find(program + "some appended bytes"), std::nullopt) << "program with appended bytes";

  support::SetupContents contents;
  contents.image = "image";
  const std::string setup = support::AssembleSetupFile(program, contents);
  EXPECT_EQ(Find(setup), int64_t(setup.size())) << "setup file";
  EXPECT_EQ(Find(setup + "tail"), int64_t(setup.size())) << "setup file with appended bytes";

  // Sections claimed beyond the file say nothing: the whole file is searched as before.
  std::string odd = program;
  Put(odd, kSectionTable + 40 + 16, 0x100000, 4);
  EXPECT_EQ(Find(odd), 0x700 + 21);
}

}  // namespace
