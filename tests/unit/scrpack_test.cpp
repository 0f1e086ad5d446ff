#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "package/package_reader.h"
#include "package/sections.h"
#include "scrpack/scrpack.h"

namespace {

namespace fs = std::filesystem;

const std::string kReadme = "Stars\r\nA screen saver.\r\n";
const std::string kLicense = "Use it freely.\n";
const std::string kLanguage = "[Setup]\nNext=Weiter\n";
const int64_t kReadmeSize = int64_t(kReadme.size());
const int64_t kLicenseSize = int64_t(kLicense.size());
const int64_t kTexts = int64_t(kReadme.size() + kLicense.size() + kLanguage.size());

class Scrpack : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("scrpack_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    Write("stub.exe", std::string(4096, 'S'));
    Write("My Stars.scr", std::string(957122, 'I'));
    Write("readme.txt", kReadme);
    Write("license.txt", kLicense);
    Write("de.lng", kLanguage);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(Path(name), std::ios::binary) << bytes;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  int Run(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int code = scrpack::Run(args, out, err);
    out_ = out.str();
    err_ = err.str();
    return code;
  }
  std::vector<std::string> BuildArgs(std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"build", "--stub", Path("stub.exe"), "--saver", Path("My Stars.scr"),
                                     "--title", "My Stars", "-o", Path("setup.exe")};
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
  }
  std::map<std::string, std::string> Inspect(const std::string& name) {
    EXPECT_EQ(Run({"inspect", Path(name)}), 0) << err_;
    std::map<std::string, std::string> rows;
    std::istringstream lines(out_);
    for (std::string line; std::getline(lines, line);) {
      const auto colon = line.find(": ");
      if (colon != std::string::npos) rows[line.substr(0, colon)] = line.substr(colon + 2);
      else if (!line.empty() && line.back() == ':') rows[line.substr(0, line.size() - 1)] = "";
    }
    return rows;
  }

  fs::path dir_;
  std::string out_, err_;
};

TEST_F(Scrpack, BuildThenInspectRoundTrip) {
  ASSERT_EQ(Run(BuildArgs({"--readme", Path("readme.txt"), "--license", Path("license.txt"), "--language",
                           Path("de.lng"), "--link", "http://example.org/stars", "--default-folder",
                           "<Windows>", "--default-subfolder", "", "--uninstall-entry", "--desktop-shortcut",
                           "--skip-folder-page"})),
            0)
      << err_;
  EXPECT_FALSE(fs::exists(Path("setup.exe.tmp")));
  auto rows = Inspect("setup.exe");
  const int64_t size = int64_t(fs::file_size(Path("setup.exe")));
  const std::map<std::string, std::string> expected = {
      {"Kind", "setup"},
      {"PackageEnd", std::to_string(size)},
      {"Signature", "ZUZOri.sig"},
      {"PackageSize", std::to_string(957122 + kTexts + 942)},
      {"ScreensaverFileName", "My Stars.scr"},
      {"Title", "My Stars"},
      {"LinkText", "http://example.org/stars"},
      {"AddUninstallEntry", "yes"},
      {"AddStartMenuGroup", "no"},
      {"AddDesktopShortcut", "yes"},
      {"TextsSize", std::to_string(kTexts)},
      {"ReadmeSize", std::to_string(kReadme.size())},
      {"LicenseSize", std::to_string(kLicense.size())},
      {"LanguageSize", std::to_string(kLanguage.size())},
      {"DefaultFolder", "<Windows>"},
      {"DefaultSubfolder", ""},
      {"SkipFolderPage", "yes"},
      {"RecordMarker", "SCRSet.sig"},
      {"StubLength", "4096"},
      {"ImageStart", "4096"},
      {"ImageLength", "957122"},
      {"ReadmeStart", std::to_string(4096 + 957122)},
      {"LicenseStart", std::to_string(4096 + 957122 + kReadmeSize)},
      {"LanguageStart", std::to_string(4096 + 957122 + kReadmeSize + kLicenseSize)},
      {"RecordStart", std::to_string(size - 942)},
      {"TrailingBytes", "0"},
  };
  for (const auto& [name, value] : expected) EXPECT_EQ(rows[name], value) << name;

  // The bytes themselves, not only what inspect says about them.
  const std::string file = Read("setup.exe");
  EXPECT_EQ(file.substr(0, 4096), Read("stub.exe"));
  EXPECT_EQ(file.substr(4096, 957122), Read("My Stars.scr"));
  EXPECT_EQ(file.substr(4096 + 957122, std::size_t(kTexts)), kReadme + kLicense + kLanguage);
  EXPECT_EQ(file.substr(file.size() - 10), "ZUZOri.sig");
}

TEST_F(Scrpack, DefaultsAndAnUninstallerLikeFile) {
  ASSERT_EQ(Run(BuildArgs()), 0) << err_;
  auto rows = Inspect("setup.exe");
  EXPECT_EQ(rows["ScreensaverFileName"], "My Stars.scr");
  EXPECT_EQ(rows["DefaultFolder"], "<Program Files>");
  EXPECT_EQ(rows["DefaultSubfolder"], "My Stars");
  EXPECT_EQ(rows["TextsSize"], "0");

  // Turn it into what the installation writes: stub, record, "ScUnin.sig", plus appended bytes.
  const std::string setup = Read("setup.exe");
  Write("uninstall.exe", setup.substr(0, 4096) + setup.substr(setup.size() - 942, 932) + "ScUnin.sig" + "tail");
  rows = Inspect("uninstall.exe");
  EXPECT_EQ(rows["Kind"], "uninstaller");
  EXPECT_EQ(rows["Signature"], "ScUnin.sig");
  EXPECT_EQ(rows["PackageEnd"], std::to_string(4096 + 942));
  EXPECT_EQ(rows["TrailingBytes"], "4");
  EXPECT_EQ(rows.count("ImageStart"), 0u);
  EXPECT_EQ(rows.count("ImageLength"), 0u);
}

TEST_F(Scrpack, UnrepresentableInputIsRefusedWithoutOutput) {
  Write("huge-name", "");
  struct Case {
    const char* name;
    std::vector<std::string> args;
    const char* mustMention;
  };
  const Case cases[] = {
      {"title of 33 bytes", BuildArgs({"--title", std::string(33, 't')}), "--title"},
      {"empty title", BuildArgs({"--title", ""}), "--title"},
      {"link of 103 bytes", BuildArgs({"--link", std::string(103, 'l')}), "--link"},
      {"file name of 256 bytes", BuildArgs({"--file-name", std::string(252, 'n') + ".scr"}), "--file-name"},
      {"empty file name", BuildArgs({"--file-name", ""}), "--file-name"},
      {"folder of 251 bytes", BuildArgs({"--default-folder", std::string(251, 'f')}), "--default-folder"},
      {"subfolder of 251 bytes", BuildArgs({"--default-subfolder", std::string(251, 'f')}), "--default-subfolder"},
      {"missing saver", BuildArgs({"--saver", Path("nothing.scr")}), "--saver"},
      {"saver is a folder", BuildArgs({"--saver", dir_.string()}), "--saver"},
      {"missing stub", BuildArgs({"--stub", Path("nothing.exe")}), "--stub"},
      {"empty stub", BuildArgs({"--stub", Path("huge-name")}), "--stub"},
      {"missing readme", BuildArgs({"--readme", Path("nothing.txt")}), "--readme"},
      {"missing licence", BuildArgs({"--license", Path("nothing.txt")}), "--license"},
      {"missing language", BuildArgs({"--language", Path("nothing.lng")}), "--language"},
      {"unknown option", BuildArgs({"--colour", "red"}), "--colour"},
      {"option without value", BuildArgs({"--link"}), "--link"},
      {"no output named", {"build", "--stub", Path("stub.exe"), "--saver", Path("My Stars.scr"), "--title", "x"}, "-o"},
      {"output folder missing", {"build", "--stub", Path("stub.exe"), "--saver", Path("My Stars.scr"), "--title",
                                 "x", "-o", Path("no/such/folder/setup.exe")}, "setup.exe"},
  };
  for (const Case& c : cases) {
    EXPECT_NE(Run(c.args), 0) << c.name;
    EXPECT_NE(err_.find(c.mustMention), std::string::npos) << c.name << ": " << err_;
    EXPECT_EQ(std::count(err_.begin(), err_.end(), '\n'), 1) << c.name << ": " << err_;
    EXPECT_FALSE(fs::exists(Path("setup.exe"))) << c.name;
    EXPECT_FALSE(fs::exists(Path("setup.exe.tmp"))) << c.name;
  }
  // The limits themselves are accepted.
  EXPECT_EQ(Run(BuildArgs({"--title", std::string(32, 't'), "--link", std::string(102, 'l'), "--file-name",
                           std::string(251, 'n') + ".scr", "--default-folder", std::string(250, 'f')})),
            0)
      << err_;
  auto rows = Inspect("setup.exe");
  EXPECT_EQ(rows["Title"], std::string(32, 't'));
  EXPECT_EQ(rows["LinkText"], std::string(102, 'l'));
  EXPECT_EQ(rows["ScreensaverFileName"].size(), 255u);
}

TEST_F(Scrpack, FailedBuildKeepsAnEarlierOutput) {
  ASSERT_EQ(Run(BuildArgs()), 0) << err_;
  const std::string before = Read("setup.exe");
  EXPECT_NE(Run(BuildArgs({"--readme", Path("nothing.txt")})), 0);
  EXPECT_EQ(Read("setup.exe"), before);
}

TEST_F(Scrpack, InspectFailsClearlyWithoutAPackage) {
  struct Case {
    const char* name;
    std::vector<std::string> args;
    int code;
  } cases[] = {
      {"plain program", {"inspect", Path("stub.exe")}, 1},
      {"missing file", {"inspect", Path("nothing.exe")}, 1},
      {"no file named", {"inspect"}, 2},
      {"unknown command", {"pack"}, 2},
      {"nothing at all", {}, 2},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Run(c.args), c.code) << c.name;
    EXPECT_FALSE(err_.empty()) << c.name;
    EXPECT_TRUE(out_.empty()) << c.name;
  }
  EXPECT_EQ(Run({"inspect", Path("stub.exe")}), 1);
  EXPECT_NE(err_.find("no package"), std::string::npos) << err_;
}

TEST_F(Scrpack, HelpForEachCommand) {
  for (const auto& args : std::vector<std::vector<std::string>>{{"--help"}, {"build", "--help"}, {"inspect", "--help"}}) {
    EXPECT_EQ(Run(args), 0);
    EXPECT_NE(out_.find("scrpack"), std::string::npos);
    EXPECT_TRUE(err_.empty());
  }
}

}  // namespace
