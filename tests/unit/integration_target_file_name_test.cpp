// Where the screen-saver file goes when its name is already taken in the chosen folder.
#include <gtest/gtest.h>

#include "integration/target_file_name.h"
#include "support/fake_os.h"

namespace {

constexpr char kFolder[] = "C:\\Savers\\";

struct Case {
  const char* name;
  std::string target;
  std::vector<std::string> existing;
  std::optional<std::string> recorded;  // nullopt: nothing recorded
  std::string expected;
  bool registryRead;
};

TEST(ChooseTargetFileName, ReuseOrNumberedName) {
  const std::vector<Case> cases = {
      {"free target stays", "C:\\Savers\\starfield.scr", {}, "C:\\Savers\\other.scr", "C:\\Savers\\starfield.scr",
       false},
      {"a folder of that name is no file", "C:\\Savers\\starfield.scr", {"dir:C:\\Savers\\starfield.scr"}, std::nullopt,
       "C:\\Savers\\starfield.scr", false},
      {"reinstall over the recorded file", "C:\\Savers\\starfield.scr", {"C:\\Savers\\starfield.scr"},
       "C:\\Savers\\starfield.scr", "C:\\Savers\\starfield.scr", true},
      {"recorded file reused even when gone", "C:\\Savers\\starfield.scr", {"C:\\Savers\\starfield.scr"},
       "C:\\Savers\\starfi12.scr", "C:\\Savers\\starfi12.scr", true},
      {"recorded elsewhere", "C:\\Savers\\starfield.scr", {"C:\\Savers\\starfield.scr"}, "C:\\Other\\starfield.scr",
       "C:\\Savers\\starfie1.scr", true},
      {"recorded folder differs in case", "C:\\Savers\\starfield.scr", {"C:\\Savers\\starfield.scr"},
       "c:\\savers\\starfield.scr", "C:\\Savers\\starfield.scr", true},
      {"recorded folder spelt with slashes and dots", "C:\\Savers\\starfield.scr", {"C:\\Savers\\starfield.scr"},
       "C:/Savers/x/.././STARFIE3.SCR", "C:\\Savers\\STARFIE3.SCR", true},
      // Any program the user runs may write the record: only our own names are taken from it.
      {"recorded name of another file", "C:\\Savers\\starfield.scr", {"C:\\Savers\\starfield.scr"},
       "C:\\Savers\\other.scr", "C:\\Savers\\starfie1.scr", true},
      {"recorded readme", "C:\\Savers\\starfield.scr", {"C:\\Savers\\starfield.scr"},
       "C:\\Savers\\Stars Readme.txt", "C:\\Savers\\starfie1.scr", true},
      {"recorded library", "C:\\Savers\\starfield.scr", {"C:\\Savers\\starfield.scr"},
       "C:\\Savers\\starfield.dll", "C:\\Savers\\starfie1.scr", true},
      {"recorded number the choice never gives", "C:\\Savers\\starfield.scr", {"C:\\Savers\\starfield.scr"},
       "C:\\Savers\\starfield1.scr", "C:\\Savers\\starfie1.scr", true},
      {"recorded number with a leading zero", "C:\\Savers\\starfield.scr", {"C:\\Savers\\starfield.scr"},
       "C:\\Savers\\starfi01.scr", "C:\\Savers\\starfie1.scr", true},
      {"recorded wildcard", "C:\\Savers\\starfield.scr", {"C:\\Savers\\starfield.scr"}, "C:\\Savers\\*.scr",
       "C:\\Savers\\starfie1.scr", true},
      {"recorded relative path", "C:\\Savers\\starfield.scr", {"C:\\Savers\\starfield.scr"},
       "x.\\starfield.scr", "C:\\Savers\\starfie1.scr", true},
      {"recorded name leading out of the folder", "C:\\Savers\\starfield.scr", {"C:\\Savers\\starfield.scr"},
       "C:\\Savers\\x/../../Windows/evil.scr", "C:\\Savers\\starfie1.scr", true},
      {"nothing recorded", "C:\\Savers\\starfield.scr", {"C:\\Savers\\starfield.scr"}, std::nullopt,
       "C:\\Savers\\starfie1.scr", true},
      {"first free number wins",
       "C:\\Savers\\starfield.scr",
       {"C:\\Savers\\starfield.scr", "C:\\Savers\\starfie1.scr", "C:\\Savers\\starfie2.scr"},
       std::nullopt,
       "C:\\Savers\\starfie3.scr",
       true},
      {"two digits shorten the stem once more",
       "C:\\Savers\\starfield.scr",
       {"C:\\Savers\\starfield.scr", "C:\\Savers\\starfie1.scr", "C:\\Savers\\starfie2.scr", "C:\\Savers\\starfie3.scr",
        "C:\\Savers\\starfie4.scr", "C:\\Savers\\starfie5.scr", "C:\\Savers\\starfie6.scr", "C:\\Savers\\starfie7.scr",
        "C:\\Savers\\starfie8.scr", "C:\\Savers\\starfie9.scr"},
       std::nullopt,
       "C:\\Savers\\starfi10.scr",
       true},
      {"short stem is never padded", "C:\\Savers\\ab.scr", {"C:\\Savers\\ab.scr", "C:\\Savers\\ab1.scr"}, std::nullopt,
       "C:\\Savers\\ab2.scr", true},
      {"name of four characters keeps it whole as ending", "C:\\Savers\\.scr", {"C:\\Savers\\.scr"}, std::nullopt,
       "C:\\Savers\\1.scr", true},
      {"existing files compare without case", "C:\\Savers\\Stars.scr", {"C:\\SAVERS\\STARS.SCR", "c:\\savers\\stars1.scr"},
       std::nullopt, "C:\\Savers\\Stars2.scr", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fake::FakeOs fake;
    fake.files.AddFolder("C:\\Savers");
    for (const std::string& path : c.existing) {
      if (path.rfind("dir:", 0) == 0) fake.files.AddFolder(path.substr(4));
      else fake.files.AddFile(path, "x");
    }
    bool read = false;
    auto readRecorded = [&] {
      read = true;
      return c.recorded.value_or(std::string());
    };
    std::string target = c.target;
    integration::ChooseTargetFileName(fake.files, readRecorded, target, kFolder);
    EXPECT_EQ(target, c.expected);
    EXPECT_EQ(read, c.registryRead);
  }
}

TEST(ChooseTargetFileName, RecordedPathErrorsPassThrough) {
  fake::FakeOs fake;
  fake.files.AddFile("C:\\Savers\\a.scr", "x");
  std::string target = "C:\\Savers\\a.scr";
  auto failing = []() -> std::string { throw std::runtime_error("Invalid data type for 'FileName_'"); };
  EXPECT_THROW(integration::ChooseTargetFileName(fake.files, failing, target, kFolder), std::runtime_error);
}

TEST(NumberedFileName, StemAndDigitsShareEightCharacters) {
  struct Step {
    int number;
    std::string expected;
  };
  std::string stem = "starfield";
  const std::vector<Step> steps = {{1, "starfie1.scr"}, {9, "starfie9.scr"},     {10, "starfi10.scr"},
                                   {5, "starfi5.scr"},  {999, "starf999.scr"},   {9999999, "s9999999.scr"},
                                   {1, "s1.scr"},       {10000000, ""}};
  for (const Step& s : steps) EXPECT_EQ(integration::NumberedFileName(stem, ".scr", s.number), s.expected) << s.number;
}

// Every name taken: the numbers stop at 9,999,999 and the last candidate stays.
class EveryFileExists : public fake::FakeFiles {
 public:
  EveryFileExists() : fake::FakeFiles(std::make_shared<fake::CallLog>()) {}
  bool FileExists(const std::string& /*path*/) noexcept override {
    ++asked;
    return true;
  }
  long asked = 0;
};

TEST(ChooseTargetFileName, GivesUpAfterTheHighestNumber) {
  EveryFileExists files;
  std::string target = "C:\\Savers\\starfield.scr";
  integration::ChooseTargetFileName(files, [] { return std::string(); }, target, kFolder);
  EXPECT_EQ(target, "C:\\Savers\\s9999999.scr");
  EXPECT_EQ(files.asked, 1 + integration::kHighestFileNumber);
}

}  // namespace
