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
const std::string kLanguage = "Setup\nNext=Weiter\n";
const int64_t kReadmeSize = int64_t(kReadme.size());
const int64_t kLicenseSize = int64_t(kLicense.size());
const int64_t kTexts = int64_t(kReadme.size() + kLicense.size() + kLanguage.size());

void Put(std::string& b, std::size_t at, uint32_t value, int width) {
  for (int i = 0; i < width; ++i) b[at + i] = char(uint8_t(value >> (8 * i)));
}

// A PE program of `size` bytes (at least 0x400) with one section from 0x400 to its end, for the
// machine (0x14C or 0x8664) and subsystem given. `markers` puts both package markers into the
// section's data, as the real stub carries them.
std::string Program(std::size_t size, uint16_t machine, uint16_t subsystem, bool markers, char fill = 'S') {
  constexpr std::size_t kPe = 0x80;
  const bool wide = machine == 0x8664;
  const std::size_t optionalSize = wide ? 240 : 224;
  std::string p(size, fill);
  std::fill(p.begin(), p.begin() + 0x400, '\0');
  p[0] = 'M';
  p[1] = 'Z';
  Put(p, 0x3C, kPe, 4);
  Put(p, kPe, 0x00004550, 4);
  Put(p, kPe + 4, machine, 2);
  Put(p, kPe + 6, 1, 2);  // one section
  Put(p, kPe + 20, uint32_t(optionalSize), 2);
  Put(p, kPe + 24, wide ? 0x20B : 0x10B, 2);
  Put(p, kPe + 24 + 68, subsystem, 2);
  Put(p, kPe + 24 + (wide ? 108 : 92), 16, 4);  // data directories
  const std::size_t section = kPe + 24 + optionalSize;
  Put(p, section + 16, uint32_t(size - 0x400), 4);
  Put(p, section + 20, 0x400, 4);
  if (markers) p.replace(0x500, 22, std::string("ZUZOri.sig\0ScUnin.sig\0", 22));
  return p;
}

// The certificate-table entry of a program made by Program().
void Sign(std::string& program, bool wide = false) {
  const std::size_t entry = 0x80 + 24 + (wide ? 112 : 96) + 4 * 8;
  Put(program, entry, uint32_t(program.size()), 4);
  Put(program, entry + 4, 16, 4);
  program += std::string(16, 'C');
}

class Scrpack : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("scrpack_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    Write("stub.exe", Program(4096, 0x14C, 2, true));
    Write("My Stars.scr", Program(957122, 0x14C, 2, false, 'I'));
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
      {"Marker", "ZUZOri.sig"},
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
      {"CertificateTable", "no"},
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
  EXPECT_EQ(rows["Marker"], "ScUnin.sig");
  EXPECT_EQ(rows["PackageEnd"], std::to_string(4096 + 942));
  EXPECT_EQ(rows["TrailingBytes"], "4");
  EXPECT_EQ(rows.count("ImageStart"), 0u);
  EXPECT_EQ(rows.count("ImageLength"), 0u);
}

TEST_F(Scrpack, UnrepresentableInputIsRefusedWithoutOutput) {
  Write("huge-name", "");
  Write("stars.zip", "PK\x03\x04" + std::string(100, 'z'));
  Write("console.scr", Program(4096, 0x14C, 3, false));
  std::string dll = Program(4096, 0x14C, 2, false);
  Put(dll, 0x80 + 22, 0x2000, 2);  // characteristics: a DLL
  Write("saver.dll", dll);
  Write("appended.exe", Program(4096, 0x14C, 2, true) + "tail");
  std::string signedStub = Program(4096, 0x14C, 2, true);
  Sign(signedStub);
  Write("signed.exe", signedStub);
  Write("utf16.lng", std::string("\xFF\xFES\0e\0t\0u\0p\0", 12));
  Write("utf8.txt", "Line one\r\nLigne deux: \xC5\x91\r\n");  // U+0151 is not in code page 1252
  Write("bad-key.scrproj", "title = Stars\ncolour = red\n");
  Write("bad-flag.scrproj", "uninstall-entry = maybe\n");
  Write("twice.scrproj", "title = Stars\ntitle = Moon\n");
  ASSERT_EQ(Run(BuildArgs({"-o", Path("built.exe")})), 0) << err_;
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
      {"missing saver", BuildArgs({"--saver", Path("nothing.scr")}), "nothing.scr': No such file or directory"},
      {"text file as saver", BuildArgs({"--saver", Path("readme.txt")}), "--saver: '"},
      {"empty saver", BuildArgs({"--saver", Path("huge-name")}), "is empty"},
      {"zip as saver", BuildArgs({"--saver", Path("stars.zip")}), "zip"},
      {"console program as saver", BuildArgs({"--saver", Path("console.scr")}), "GUI"},
      {"DLL as saver", BuildArgs({"--saver", Path("saver.dll")}), "is a DLL"},
      {"screen saver as stub", BuildArgs({"--stub", Path("My Stars.scr")}), "not our setup stub"},
      {"setup file as stub", BuildArgs({"--stub", Path("built.exe")}), "already holds a package"},
      {"signed stub", BuildArgs({"--stub", Path("signed.exe")}), "is signed"},
      {"stub with data appended", BuildArgs({"--stub", Path("appended.exe")}), "4 bytes appended"},
      {"unknown placeholder", BuildArgs({"--default-folder", "<ProgramFiles>\\Stars"}), "'<ProgramFiles>'"},
      {"placeholder in the subfolder", BuildArgs({"--default-subfolder", "<Desktop>"}), "--default-subfolder"},
      {"UTF-16 language", BuildArgs({"--language", Path("utf16.lng")}), "UTF-16"},
      {"text character outside the code page", BuildArgs({"--readme", Path("utf8.txt")}), "utf8.txt' line 2"},
      {"title character outside the code page", BuildArgs({"--title", "\xD0\x97\xD0\xB2"}), "--title"},
      {"unknown code page", BuildArgs({"--codepage", "65001"}), "65001"},
      {"project with an unknown key", BuildArgs({"--project", Path("bad-key.scrproj")}), "bad-key.scrproj:2: colour"},
      {"project with a bad flag", BuildArgs({"--project", Path("bad-flag.scrproj")}), "bad-flag.scrproj:1: uninstall-entry"},
      {"project with a key twice", BuildArgs({"--project", Path("twice.scrproj")}), "twice.scrproj:2: title: already set on line 1"},
      {"missing project", BuildArgs({"--project", Path("nothing.scrproj")}), "--project"},
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

TEST_F(Scrpack, AuthorsMistakesThatStillWorkAreWarnedAbout) {
  Write("saver64.scr", Program(8192, 0x8664, 2, false, 'I'));
  Write("typo.lng", "Setup\nNext=Weiter\nNxet=Weiter\n");
  Write("no-section.lng", "Next=Weiter\n");
  struct Case {
    const char* name;
    std::vector<std::string> extra;
    std::vector<std::string> warnings;  // each must appear on a line of its own
  };
  const Case cases[] = {
      {"nothing to say", {}, {}},
      {"file name without .scr", {"--file-name", "Aurora"}, {"'Aurora' does not end in .scr"}},
      {"title with a character file names cannot hold", {"--title", "Stars?"}, {"holds '?'"}},
      {"64-bit saver, 32-bit stub", {"--saver", Path("saver64.scr")}, {"64-bit (x86-64) program but the stub a 32-bit"}},
      {"unknown language key", {"--language", Path("typo.lng")}, {"line 3: 'Nxet' is not a text of ours", "1 of 38 texts translated"}},
      {"language without a Setup section", {"--language", Path("no-section.lng")}, {"0 of 38 texts translated"}},
      {"the sample's complete translation", {"--language", SCR_SOURCE_DIR "/samples/starfield/french.lng"}, {}},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(Run(BuildArgs(c.extra)), 0) << c.name << ": " << err_;
    EXPECT_EQ(std::count(err_.begin(), err_.end(), '\n'), std::ptrdiff_t(c.warnings.size())) << c.name << ": " << err_;
    for (const std::string& warning : c.warnings)
      EXPECT_NE(err_.find(warning), std::string::npos) << c.name << ": " << err_;
    EXPECT_EQ(out_, "scrpack build: wrote " + Path("setup.exe") + " (" + std::to_string(fs::file_size(Path("setup.exe"))) +
                        " bytes)\n") << c.name;
  }
}

TEST_F(Scrpack, Utf8InputBecomesTheTargetCodePage) {
  Write("readme-bom.txt", "\xEF\xBB\xBFO\xC3\xB9 installer ?\r\n");
  Write("ansi.txt", "O\xF9 installer ?\r\n");  // already Windows-1252: kept as it is
  Write("cyrillic.lng", "Setup\nNext=\xD0\x94\xD0\xB0\xD0\xBB\xD0\xB5\xD0\xB5\n");
  struct Case {
    const char* name;
    std::vector<std::string> extra;
    const char* field;
    std::string expected;
  };
  const Case cases[] = {
      {"UTF-8 readme with a byte-order mark", {"--readme", Path("readme-bom.txt")}, "readme", "O\xF9 installer ?\r\n"},
      {"readme already in the code page", {"--readme", Path("ansi.txt")}, "readme", "O\xF9 installer ?\r\n"},
      {"Cyrillic language text in 1251", {"--language", Path("cyrillic.lng"), "--codepage", "1251"}, "language",
       "Setup\nNext=\xC4\xE0\xEB\xE5\xE5\n"},
      // 32 characters of two UTF-8 bytes each: 32 bytes of Windows-1252, so they fit.
      {"title counted in code-page bytes", {"--title", [] {
         std::string t;
         for (int i = 0; i < 32; ++i) t += "\xC3\xA9";
         return t;
       }()}, "title", std::string(32, '\xE9')},
      {"file name and folder", {"--file-name", "\xC3\x89toiles.scr", "--default-subfolder", "\xC3\x89toiles"}, "file-name",
       "\xC9toiles.scr"},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(Run(BuildArgs(c.extra)), 0) << c.name << ": " << err_;
    const std::string setup = Read("setup.exe");
    package::MemoryReadSource source(setup);
    const package::PackageInfo info = package::ReadPackage(source);
    const std::string field = c.field == std::string("readme")     ? info.readme
                              : c.field == std::string("language") ? info.language
                              : c.field == std::string("title")    ? info.record.Title()
                                                                   : info.record.ScreensaverFileName();
    EXPECT_EQ(field, c.expected) << c.name;
  }
  EXPECT_EQ(Inspect("setup.exe")["DefaultSubfolder"], "\xC3\x89toiles");  // shown back as UTF-8
}

// The project file gives the same settings as the options; relative paths are taken from its
// folder, whatever the current folder, and the same inputs give the same bytes every time.
TEST_F(Scrpack, ProjectFileGivesTheSameFileAsTheOptions) {
  ASSERT_EQ(Run(BuildArgs({"--readme", Path("readme.txt"), "--language", Path("de.lng"), "--link", "http://example.org",
                           "--default-subfolder", "", "--uninstall-entry", "--start-menu"})),
            0)
      << err_;
  const std::string byOptions = Read("setup.exe");
  fs::create_directories(dir_ / "project");
  Write("project/stars.scrproj",
        "\xEF\xBB\xBF# Stars\n"  // saved with a byte-order mark, as Windows editors do
        "stub = ../stub.exe\n"
        "saver=../My Stars.scr\r\n"
        "  title   =   My Stars  \n"
        "readme = ..\\readme.txt\n"
        "language = ../de.lng\n"
        "link = http://example.org\n"
        "default-subfolder = \"\"\n"
        "uninstall-entry = yes\n"
        "start-menu = no\n"
        "; the command line may add to this\n"
        "output = ../from-project.exe\n");
  const fs::path before = fs::current_path();
  fs::current_path(fs::temp_directory_path());
  const int code = Run({"build", "--project", Path("project/stars.scrproj"), "--start-menu"});
  fs::current_path(before);
  ASSERT_EQ(code, 0) << err_;
  EXPECT_EQ(Read("from-project.exe"), byOptions);

  // Again, from the project's own folder and with the output given on the command line.
  fs::current_path(dir_ / "project");
  const int again = Run({"build", "--project", "stars.scrproj", "--start-menu", "-o", Path("again.exe")});
  fs::current_path(before);
  ASSERT_EQ(again, 0) << err_;
  EXPECT_EQ(Read("again.exe"), byOptions);
}

TEST_F(Scrpack, VerifyAppliesTheStartUpChecks) {
  ASSERT_EQ(Run(BuildArgs({"--readme", Path("readme.txt")})), 0) << err_;
  const std::string setup = Read("setup.exe");
  Write("uninstall.exe", setup.substr(0, 4096) + setup.substr(setup.size() - 942 - kReadmeSize, kReadmeSize + 932) +
                             "ScUnin.sig");
  std::string unmarked = Read("uninstall.exe");
  unmarked.replace(unmarked.size() - 22, 10, "SCRSet.sih");
  Write("unmarked.exe", unmarked);
  std::string wildReadme = setup;
  Put(wildReadme, wildReadme.size() - 942 + 404, 0x7FFFFFF0, 4);  // ReadmeSize beyond the file
  Write("wild-readme.exe", wildReadme);
  struct Case {
    const char* file;
    int code;
    const char* line;
  };
  const Case cases[] = {
      {"setup.exe", 0, "would start as a setup file"},
      {"uninstall.exe", 0, "would start as an uninstaller"},
      {"stub.exe", 1, "would not start: no package found"},
      {"unmarked.exe", 1, "would not start: the uninstaller's record marker"},
      {"wild-readme.exe", 1, "would not start: corrupted package"},
      {"nothing.exe", 1, "would not start: the file cannot be read"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Run({"verify", Path(c.file)}), c.code) << c.file;
    EXPECT_EQ(out_.rfind(Path(c.file) + ": " + c.line, 0), 0u) << c.file << ": " << out_;
    EXPECT_EQ(std::count(out_.begin(), out_.end(), '\n'), 1) << c.file;
    EXPECT_EQ(Run({"verify", "--json", Path(c.file)}), c.code) << c.file;
    EXPECT_NE(out_.find(c.code == 0 ? "\"Starts\": true" : "\"Starts\": false"), std::string::npos) << out_;
  }
}

TEST_F(Scrpack, InspectShowsACodeSignatureAndSpeaksJson) {
  ASSERT_EQ(Run(BuildArgs({"--title", "Say \"hi\""})), 0) << err_;
  std::string signedSetup = Read("setup.exe");
  Sign(signedSetup);
  Write("signed-setup.exe", signedSetup);
  EXPECT_EQ(Inspect("signed-setup.exe")["CertificateTable"], "yes");
  EXPECT_EQ(Inspect("signed-setup.exe")["TrailingBytes"], "16");
  ASSERT_EQ(Run({"inspect", "--json", Path("setup.exe")}), 0) << err_;
  EXPECT_EQ(out_.rfind("{\"Kind\": \"setup\", \"PackageEnd\": ", 0), 0u) << out_;
  EXPECT_NE(out_.find("\"Title\": \"Say \\\"hi\\\"\""), std::string::npos) << out_;
  EXPECT_NE(out_.find("\"AddUninstallEntry\": false"), std::string::npos) << out_;
  EXPECT_NE(out_.find("\"CertificateTable\": false}\n"), std::string::npos) << out_;
}

TEST_F(Scrpack, HelpForEachCommand) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"--help"}, {"build", "--help"}, {"inspect", "--help"}, {"verify", "--help"}, {"--version"}}) {
    EXPECT_EQ(Run(args), 0);
    EXPECT_NE(out_.find("scrpack"), std::string::npos);
    EXPECT_TRUE(err_.empty());
  }
}

}  // namespace
