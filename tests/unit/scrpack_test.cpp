#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "package/checksum.h"
#include "package/package_reader.h"
#include "package/sections.h"
#include "package/settings_record.h"
#include "scrpack/scrpack.h"
#include "support/pe_file.h"

namespace {

namespace fs = std::filesystem;

const std::string kReadme = "Stars\r\nA screen saver.\r\n";
const std::string kLicense = "Use it freely.\n";
const std::string kLanguage = "Setup\nNext=Weiter\n";
const int64_t kReadmeSize = int64_t(kReadme.size());
const int64_t kLicenseSize = int64_t(kLicense.size());
const int64_t kTexts = int64_t(kReadme.size() + kLicense.size() + kLanguage.size());

constexpr auto Put = &support::PutLittleEndian;

// A PE program of `size` bytes (at least 0x400) with one section from 0x400 to its end, for the
// machine (0x14C or 0x8664) and subsystem given. `markers` puts both package markers into the
// section's data, as the real stub carries them.
std::string Program(std::size_t size, uint16_t machine, uint16_t subsystem, bool markers, char fill = 'S') {
  const support::PeLayout layout{machine == support::kPeMachineAmd64};
  std::string p(size, fill);
  std::fill(p.begin(), p.begin() + 0x400, '\0');
  support::WritePeHeaders(p, layout);
  Put(p, layout.Machine(), machine, 2);
  Put(p, layout.Subsystem(), subsystem, 2);
  support::AddPeSection(p, layout, 0x400, uint32_t(size - 0x400));
  if (markers) p.replace(0x500, 22, std::string("ZUZOri.sig\0ScUnin.sig\0", 22));
  return p;
}

// The certificate-table entry of a program made by Program().
void Sign(std::string& program, bool wide = false) {
  const std::size_t entry = support::PeLayout{wide}.CertificateEntry();
  Put(program, entry, uint32_t(program.size()), 4);
  Put(program, entry + 4, 16, 4);
  program += std::string(16, 'C');
}

// Where the package of a setup file ends: the extension block follows.
int64_t PackageEnd(const std::string& file) {
  package::MemoryReadSource source(file);
  return package::RequirePackageEnd(source);
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

std::string Hex(uint32_t value) {
  char text[11];
  std::snprintf(text, sizeof text, "0x%08x", static_cast<unsigned>(value));
  return text;
}

TEST_F(Scrpack, BuildThenInspectRoundTrip) {
  ASSERT_EQ(Run(BuildArgs({"--readme", Path("readme.txt"), "--license", Path("license.txt"), "--language",
                           Path("de.lng"), "--link", "http://example.org/stars", "--default-folder",
                           "<Windows>", "--default-subfolder", "", "--uninstall-entry", "--desktop-shortcut",
                           "--skip-folder-page", "--publisher", "Caf\xC3\xA9 Stars", "--version", "2.1 beta",
                           "--no-shell-install", "--no-compress"})),
            0)
      << err_;
  EXPECT_FALSE(fs::exists(Path("setup.exe.tmp")));
  auto rows = Inspect("setup.exe");
  const int64_t size = int64_t(fs::file_size(Path("setup.exe")));
  const int64_t end = 4096 + 957122 + kTexts + 942;
  const std::map<std::string, std::string> expected = {
      {"Kind", "setup"},
      {"PackageEnd", std::to_string(end)},
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
      {"ImageStoredSize", "957122"},
      {"ImageInstalledSize", "957122"},
      {"ImageCompressed", "no"},
      {"ReadmeStart", std::to_string(4096 + 957122)},
      {"LicenseStart", std::to_string(4096 + 957122 + kReadmeSize)},
      {"LanguageStart", std::to_string(4096 + 957122 + kReadmeSize + kLicenseSize)},
      {"RecordStart", std::to_string(end - 942)},
      {"TrailingBytes", std::to_string(size - end)},
      {"CertificateTable", "no"},
      {"Extension", "yes"},
      {"Publisher", "Caf\xC3\xA9 Stars"},  // carried in the code page, shown as UTF-8
      {"Version", "2.1 beta"},
      {"ShellInstall", "no"},
      {"UninstallerSignature", "none"},
  };
  for (const auto& [name, value] : expected) EXPECT_EQ(rows[name], value) << name;

  // The bytes themselves, not only what inspect says about them.
  const std::string file = Read("setup.exe");
  EXPECT_EQ(file.substr(0, 4096), Read("stub.exe"));
  EXPECT_EQ(file.substr(4096, 957122), Read("My Stars.scr"));
  EXPECT_EQ(file.substr(4096 + 957122, std::size_t(kTexts)), kReadme + kLicense + kLanguage);
  EXPECT_EQ(file.substr(std::size_t(end) - 10, 10), "ZUZOri.sig");
  EXPECT_EQ(file.substr(std::size_t(end), 8), std::string("SCRXblk\0", 8));
  EXPECT_NE(file.find("publisher=Caf\xE9 Stars\n", std::size_t(end)), std::string::npos);

  // By default the image is compressed: the record counts it as stored, inspect and verify show
  // both sizes, and the checksum is of the screen saver as installed.
  ASSERT_EQ(Run(BuildArgs({"--readme", Path("readme.txt")})), 0) << err_;
  rows = Inspect("setup.exe");
  EXPECT_EQ(rows["ImageCompressed"], "yes");
  EXPECT_EQ(rows["ImageInstalledSize"], "957122");
  EXPECT_EQ(rows["ImageStoredSize"], rows["ImageLength"]);
  EXPECT_LT(std::stoll(rows["ImageStoredSize"]), 957122 / 4);
  const std::string saver = Read("My Stars.scr");
  EXPECT_EQ(rows["ImageChecksum"], Hex(package::Crc32c(0, saver.data(), saver.size())));
  ASSERT_EQ(Run({"verify", Path("setup.exe")}), 0) << out_;
  EXPECT_NE(out_.find("ImageInstalledSize: 957122\n"), std::string::npos) << out_;
  EXPECT_NE(out_.find("Image: intact\n"), std::string::npos) << out_;
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
  Write("uninstall.exe", setup.substr(0, 4096) + setup.substr(std::size_t(PackageEnd(setup)) - 942, 932) +
                             "ScUnin.sig" + "tail");
  rows = Inspect("uninstall.exe");
  EXPECT_EQ(rows["Kind"], "uninstaller");
  EXPECT_EQ(rows["Marker"], "ScUnin.sig");
  EXPECT_EQ(rows["PackageEnd"], std::to_string(4096 + 942));
  EXPECT_EQ(rows["TrailingBytes"], "4");
  EXPECT_EQ(rows.count("ImageStart"), 0u);
  EXPECT_EQ(rows.count("ImageLength"), 0u);
}

// Every file in the test's folder with its size and time of change, to show that a refused build
// changed nothing.
std::map<std::string, std::pair<uintmax_t, fs::file_time_type>> Snapshot(const fs::path& dir) {
  std::map<std::string, std::pair<uintmax_t, fs::file_time_type>> files;
  for (const auto& entry : fs::recursive_directory_iterator(dir)) {
    if (entry.is_regular_file()) files[entry.path().string()] = {entry.file_size(), entry.last_write_time()};
  }
  return files;
}

TEST_F(Scrpack, MistakesAreRefusedWithoutWritingAnything) {
  Write("huge-name", "");
  Write("stars.zip", "PK\x03\x04" + std::string(100, 'z'));
  Write("console.scr", Program(4096, 0x14C, 3, false));
  std::string dll = Program(4096, 0x14C, 2, false);
  Put(dll, support::PeLayout{}.Characteristics(), 0x2000, 2);  // characteristics: a DLL
  Write("saver.dll", dll);
  Write("appended.exe", Program(4096, 0x14C, 2, true) + "tail");
  std::string signedStub = Program(4096, 0x14C, 2, true);
  Sign(signedStub);
  Write("signed.exe", signedStub);
  Write("utf16.lng", std::string("\xFF\xFES\0e\0t\0u\0p\0", 12));
  Write("utf8.txt", "Line one\r\nLigne deux: \xC5\x91\r\n");  // U+0151 is not in code page 1252
  Write("bad-key.scrproj", "title = Stars\ncolour = red\n");
  Write("licence.scrproj", "licence = license.txt\n");
  Write("bad-flag.scrproj", "uninstall-entry = maybe\n");
  Write("twice.scrproj", "title = Stars\ntitle = Moon\n");
  Write("strict.scrproj", "strict = Yes\nfile-name = Aurora\n");
  Write("out.exe.tmp", Read("My Stars.scr"));
  fs::create_directories(dir_ / "sub");
  fs::create_symlink(Path("My Stars.scr"), Path("link.scr"));
  fs::create_hard_link(Path("readme.txt"), Path("hard-readme.txt"));
  Write("self.scrproj", "stub = stub.exe\nsaver = My Stars.scr\ntitle = Stars\noutput = self.scrproj\n");
  ASSERT_EQ(Run(BuildArgs({"-o", Path("built.exe")})), 0) << err_;
  fs::copy_file(Path("built.exe"), Path("Acme.Stars.yaml"));
  const auto winget = [&](const std::string& setup, const std::string& id, const std::string& url) {
    return std::vector<std::string>{"winget", Path(setup), "-o", dir_.string(), "--id", id, "--url", url};
  };
  struct Case {
    const char* name;
    std::vector<std::string> args;
    int code;
    std::string mustMention;
  };
  const Case cases[] = {
      {"title of 33 bytes", BuildArgs({"--title", std::string(33, 't')}), 2, "--title"},
      {"empty title", BuildArgs({"--title", ""}), 2, "--title"},
      {"link of 103 bytes", BuildArgs({"--link", std::string(103, 'l')}), 2, "--link"},
      {"file name of 256 bytes", BuildArgs({"--file-name", std::string(252, 'n') + ".scr"}), 2, "--file-name"},
      {"empty file name", BuildArgs({"--file-name", ""}), 2, "--file-name"},
      {"file name that is only a folder", BuildArgs({"--file-name", "sous\\"}), 2, "holds no file name"},
      {"folder of 251 bytes", BuildArgs({"--default-folder", std::string(251, 'f')}), 2, "--default-folder"},
      {"subfolder of 251 bytes", BuildArgs({"--default-subfolder", std::string(251, 'f')}), 2, "--default-subfolder"},
      {"missing saver", BuildArgs({"--saver", Path("nothing.scr")}), 2, "nothing.scr': No such file or directory"},
      {"text file as saver", BuildArgs({"--saver", Path("readme.txt")}), 2, "--saver: '"},
      {"empty saver", BuildArgs({"--saver", Path("huge-name")}), 2, "is empty"},
      {"zip as saver", BuildArgs({"--saver", Path("stars.zip")}), 2, "zip"},
      {"console program as saver", BuildArgs({"--saver", Path("console.scr")}), 2, "GUI"},
      {"DLL as saver", BuildArgs({"--saver", Path("saver.dll")}), 2, "is a DLL"},
      {"screen saver as stub", BuildArgs({"--stub", Path("My Stars.scr")}), 2, "not our setup stub"},
      {"setup file as stub", BuildArgs({"--stub", Path("built.exe")}), 2, "already holds a package"},
      {"signed stub", BuildArgs({"--stub", Path("signed.exe")}), 2, "is signed"},
      {"stub with data appended", BuildArgs({"--stub", Path("appended.exe")}), 2, "4 bytes appended"},
      {"unknown placeholder", BuildArgs({"--default-folder", "<ProgramFiles>\\Stars"}), 2, "'<ProgramFiles>'"},
      {"placeholder in the subfolder", BuildArgs({"--default-subfolder", "<Desktop>"}), 2, "--default-subfolder"},
      // A colon past the drive: every run of such a setup file would stop at the folder.
      {"colon in the subfolder", BuildArgs({"--default-subfolder", "Star:field"}), 2,
       "--default-subfolder 'Star:field' is no folder Windows can create"},
      {"drive in the subfolder", BuildArgs({"--default-subfolder", "D:\\Stars"}), 2, "--default-subfolder"},
      {"colon in the folder", BuildArgs({"--default-folder", "<Program Files>\\x:ads"}), 2, "--default-folder"},
      {"device in the folder", BuildArgs({"--default-folder", "C:\\Savers\\nul.txt"}), 2, "--default-folder"},
      {"UTF-16 language", BuildArgs({"--language", Path("utf16.lng")}), 2, "UTF-16"},
      {"text character outside the code page", BuildArgs({"--readme", Path("utf8.txt")}), 2, "utf8.txt' line 2"},
      {"title character outside the code page", BuildArgs({"--title", "\xD0\x97\xD0\xB2"}), 2, "--title"},
      {"unknown code page", BuildArgs({"--codepage", "65001"}), 2, "65001"},
      {"project with an unknown key", BuildArgs({"--project", Path("bad-key.scrproj")}), 2,
       "bad-key.scrproj:2: colour: unknown key\n"},
      {"project key misspelt", BuildArgs({"--project", Path("licence.scrproj")}), 2,
       "licence.scrproj:1: licence: unknown key; did you mean 'license'?"},
      {"project with a bad flag", BuildArgs({"--project", Path("bad-flag.scrproj")}), 2,
       "bad-flag.scrproj:1: uninstall-entry: expected yes or no"},
      {"project with a key twice", BuildArgs({"--project", Path("twice.scrproj")}), 2,
       "twice.scrproj:2: title: already set on line 1"},
      {"missing project", BuildArgs({"--project", Path("nothing.scrproj")}), 2, "--project"},
      {"saver is a folder", BuildArgs({"--saver", dir_.string()}), 2, "--saver"},
      {"missing stub", BuildArgs({"--stub", Path("nothing.exe")}), 2, "--stub"},
      {"empty stub", BuildArgs({"--stub", Path("huge-name")}), 2, "--stub"},
      {"missing readme", BuildArgs({"--readme", Path("nothing.txt")}), 2, "--readme"},
      {"missing licence", BuildArgs({"--license", Path("nothing.txt")}), 2, "--license"},
      {"missing language", BuildArgs({"--language", Path("nothing.lng")}), 2, "--language"},
      {"unknown option", BuildArgs({"--colour", "red"}), 2, "unknown option '--colour'\n"},
      {"option misspelt", BuildArgs({"--licence", "x"}), 2, "did you mean '--license'?"},
      {"negated flag misspelt", BuildArgs({"--no-desktop-shortcuts"}), 2, "did you mean '--no-desktop-shortcut'?"},
      {"negated option that is no flag", BuildArgs({"--no-title"}), 2, "unknown option '--no-title'"},
      {"flag with a bad value", BuildArgs({"--start-menu=maybe"}), 2, "--start-menu=maybe: expected yes or no"},
      {"option without value", BuildArgs({"--link"}), 2, "--link"},
      {"sign command without {out}", BuildArgs({"--sign-command", "sign {in}"}), 2, "this one has no {out}"},
      {"both ways to sign the uninstaller",
       BuildArgs({"--sign-command", "sign {in} {out}", "--uninstaller-signature", Path("built.exe")}), 2,
       "give one of them"},
      {"output is the uninstaller's signature", BuildArgs({"--uninstaller-signature", Path("built.exe"), "-o", Path("built.exe")}),
       2, "same file as --uninstaller-signature"},
      {"uninstaller written over its setup file", {"uninstaller", Path("built.exe"), "-o", Path("built.exe")}, 2,
       "is the same file as the setup file"},
      {"uninstaller of a plain program", {"uninstaller", Path("stub.exe"), "-o", Path("u.exe")}, 1, "no package"},
      {"uninstaller into a missing folder", {"uninstaller", Path("built.exe"), "-o", Path("no/such/u.exe")}, 1,
       "scrpack uninstaller: -o '" + Path("no/such/u.exe") + "': cannot create it: No such file or directory"},
      {"uninstaller option misspelt", {"uninstaller", Path("built.exe"), "--otuput", Path("u.exe")}, 2,
       "scrpack uninstaller: unknown option '--otuput'; did you mean '--output'?"},
      {"missing uninstaller signature", BuildArgs({"--uninstaller-signature", Path("nothing.exe")}), 2,
       "--uninstaller-signature: cannot read '" + Path("nothing.exe") + "': No such file or directory"},
      {"publisher of 129 bytes", BuildArgs({"--publisher", std::string(129, 'p')}), 2, "--publisher is 129 bytes"},
      {"version over two lines", BuildArgs({"--version", "1.0\n2.0"}), 2, "--version holds a line break"},
      {"publisher holding a package marker", BuildArgs({"--publisher", "Stars ZUZOri.sig"}), 2,
       "--publisher holds the package marker"},
      {"no output named", {"build", "--stub", Path("stub.exe"), "--saver", Path("My Stars.scr"), "--title", "x"}, 2, "-o"},
      {"output folder missing", BuildArgs({"-o", Path("no/such/folder/setup.exe")}), 1,
       "-o '" + Path("no/such/folder/setup.exe") + "': cannot create it: No such file or directory"},
      // The output never replaces an input, however it is spelt.
      {"output is the saver", BuildArgs({"-o", Path("My Stars.scr")}), 2,
       "-o '" + Path("My Stars.scr") + "' is the same file as --saver '" + Path("My Stars.scr") + "'"},
      {"output is the saver by another path", BuildArgs({"-o", Path("sub/../My Stars.scr")}), 2, "same file as --saver"},
      {"output is a link to the saver", BuildArgs({"-o", Path("link.scr")}), 2, "same file as --saver"},
      {"output is the stub", BuildArgs({"--stub", Path("stub.exe"), "-o", Path("stub.exe")}), 2, "same file as --stub"},
      {"output is the language", BuildArgs({"--language", Path("de.lng"), "-o", Path("de.lng")}), 2,
       "same file as --language"},
      {"output is the licence", BuildArgs({"--license", Path("license.txt"), "-o", Path("license.txt")}), 2,
       "same file as --license"},
      {"output is a hard link to the readme", BuildArgs({"--readme", Path("readme.txt"), "-o", Path("hard-readme.txt")}),
       2, "same file as --readme"},
      {"output is the project file", BuildArgs({"--project", Path("self.scrproj"), "--output=" + Path("self.scrproj")}), 2,
       "same file as --project"},
      {"output's temporary file is the saver", BuildArgs({"--saver", Path("out.exe.tmp"), "-o", Path("out.exe")}), 2,
       "is first written to '" + Path("out.exe.tmp") + "', which is the same file as --saver"},
      {"project output is the project", {"build", "--project", Path("self.scrproj")}, 2,
       "self.scrproj:4: output '" + Path("self.scrproj") + "' is the same file as --project"},
      {"winget id of one part", winget("built.exe", "Stars", "https://x.org/s.exe"), 2,
       "--id 'Stars' has 1 part; it takes 2 to 8 joined by dots"},
      {"winget id with a blank", winget("built.exe", "Acme.My Stars", "https://x.org/s.exe"), 2, "holds a blank"},
      {"winget id part of 33", winget("built.exe", "Acme." + std::string(33, 's'), "https://x.org/s.exe"), 2,
       "has a part of 33 characters"},
      {"winget address without a scheme", winget("built.exe", "Acme.Stars", "x.org/s.exe"), 2,
       "--url 'x.org/s.exe' is no http:// or https:// address"},
      {"winget of a setup file without a version", winget("built.exe", "Acme.Stars", "https://x.org/s.exe"), 2,
       "the setup file's version (build it with --version) is missing"},
      {"winget manifest over its setup file", winget("Acme.Stars.yaml", "Acme.Stars", "https://x.org/s.exe"), 2,
       "is the same file as the setup file"},
      // --strict makes every warning a refusal.
      {"warning under --strict", BuildArgs({"--strict", "--file-name", "Aurora"}), 2,
       "--strict: -o '" + Path("setup.exe") + "' not written because of the warning above"},
      {"warning under strict = yes", BuildArgs({"--project", Path("strict.scrproj")}), 2,
       "strict.scrproj:1: strict: -o '" + Path("setup.exe") + "' not written"},
  };
  const auto before = Snapshot(dir_);
  for (const Case& c : cases) {
    EXPECT_EQ(Run(c.args), c.code) << c.name;
    EXPECT_NE(err_.find(c.mustMention), std::string::npos) << c.name << ": " << err_;
    // One line says why; only the warnings that --strict turned into a refusal may come before it.
    std::istringstream lines(err_);
    int reasons = 0;
    for (std::string line; std::getline(lines, line);) reasons += line.find(": warning: ") == std::string::npos;
    EXPECT_EQ(reasons, 1) << c.name << ": " << err_;
    EXPECT_EQ(Snapshot(dir_), before) << c.name;
  }
  // The limits themselves are accepted.
  EXPECT_EQ(Run(BuildArgs({"--title", std::string(32, 't'), "--link", std::string(102, 'l'), "--file-name",
                           std::string(251, 'n') + ".scr", "--default-folder", std::string(250, 'f'), "--publisher",
                           std::string(128, 'p'), "--version", std::string(128, 'v')})),
            0)
      << err_;
  auto rows = Inspect("setup.exe");
  EXPECT_EQ(rows["Title"], std::string(32, 't'));
  EXPECT_EQ(rows["LinkText"], std::string(102, 'l'));
  EXPECT_EQ(rows["ScreensaverFileName"].size(), 255u);
  EXPECT_EQ(rows["Publisher"], std::string(128, 'p'));
  EXPECT_EQ(rows["Version"], std::string(128, 'v'));
}

TEST_F(Scrpack, FailedBuildKeepsAnEarlierOutput) {
  ASSERT_EQ(Run(BuildArgs()), 0) << err_;
  const std::string before = Read("setup.exe");
  EXPECT_NE(Run(BuildArgs({"--readme", Path("nothing.txt")})), 0);
  EXPECT_EQ(Read("setup.exe"), before);
}

TEST_F(Scrpack, InspectFailsClearlyWithoutAPackage) {
  ASSERT_EQ(Run(BuildArgs({"--readme", Path("readme.txt")})), 0) << err_;
  const std::string setup = Read("setup.exe");
  Write("cut.exe", setup.substr(std::size_t(PackageEnd(setup)) - 950));  // the record, not all of the texts
  struct Case {
    const char* name;
    std::vector<std::string> args;
    int code;
    const char* mustMention;
  } cases[] = {
      {"plain program", {"inspect", Path("stub.exe")}, 1, "no package"},
      {"file cut inside the package", {"inspect", Path("cut.exe")}, 1, "the block of texts lies outside the file"},
      {"missing file", {"inspect", Path("nothing.exe")}, 1, "nothing.exe': No such file or directory"},
      {"no file named", {"inspect"}, 2, "expects exactly one file"},
      {"unknown command", {"pack"}, 2, "unknown command 'pack'\n"},
      {"command misspelt", {"biuld"}, 2, "unknown command 'biuld'; did you mean 'build'?\n"},
      {"inspect option misspelt", {"inspect", "--jsno", Path("stub.exe")}, 2,
       "scrpack inspect: unknown option '--jsno'; did you mean '--json'?\n"},
      {"verify option misspelt", {"verify", "-json", Path("stub.exe")}, 2,
       "scrpack verify: unknown option '-json'; did you mean '--json'?\n"},
      {"nothing at all", {}, 2, "usage:"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Run(c.args), c.code) << c.name;
    EXPECT_NE(err_.find(c.mustMention), std::string::npos) << c.name << ": " << err_;
    EXPECT_TRUE(out_.empty()) << c.name;
  }
}

TEST_F(Scrpack, AuthorsMistakesThatStillWorkAreWarnedAbout) {
  Write("saver64.scr", Program(8192, 0x8664, 2, false, 'I'));
  Write("typo.lng", "Setup\nNext=Weiter\nNxet=Weiter\n");
  Write("no-section.lng", "Next=Weiter\n");
  Write("bracketed.lng", "[Setup]\nNext=Weiter\n");
  Write("wrong-keys.lng", "Setup\nnext=Weiter\n");
  Write("empty-line.lng", "Setup\nNext=Weiter\n\nBack=Zur\xC3\xBC" "ck\nCancel=Abbrechen\nSetup\nInstall=Installieren\n");
  Write("note.lng", "Setup\nNext=Suivant\n# boutons\nBack=Retour\n\n");
  struct Case {
    const char* name;
    std::vector<std::string> extra;
    std::vector<std::string> warnings;  // each must appear on a line of its own
    std::vector<std::string> notes;     // what the setup will do, on the output before "wrote"
  };
  const Case cases[] = {
      {"nothing to say", {}, {}, {}},
      {"stored as it is", {"--no-compress"}, {}, {}},
      {"file name without .scr", {"--file-name", "Aurora"}, {"'Aurora' does not end in .scr"}, {}},
      {"file name with a folder part", {"--file-name", "sous\\aurore.scr"},
       {"--file-name 'sous\\aurore.scr' holds a folder part; setup installs the file as 'aurore.scr' in the folder"},
       {}},
      // Start-up shortens the name before the folder part goes, and takes a slash for no folder.
      {"file name with a slash", {"--file-name", "sous/aurore.scr"},
       {"--file-name 'sous/aurore.scr' holds a folder part; setup installs the file as 'sous_aur.scr' on Windows "
        "2000 and later and as 'aurore.scr' on older Windows, in the folder the user chooses\n"},
       {}},
      {"folder part and a name Windows shortens", {"--file-name", "sous\\Aurore Bor\xC3\xA9" "ale.scr"},
       {"setup installs the file as 'Aurore_B.scr' on Windows 2000 and later and as 'Aurore Bor\xC3\xA9"
        "ale.scr' on older Windows,"},
       {}},
      {"file name that Windows shortens", {"--file-name", "Aurore Bor\xC3\xA9" "ale.scr"}, {},
       {"scrpack build: --file-name 'Aurore Bor\xC3\xA9" "ale.scr' installs as Aurore_B.scr on Windows 2000 and later"}},
      {"the saver's own name shortened", {"--file-name", "sea-life.scr"}, {}, {"installs as sea_life.scr"}},
      {"title with a character file names cannot hold", {"--title", "Stars?"},
       {"holds '?', which a file name cannot hold: the readme, the shortcuts and the uninstall entry named after the "
        "title may not be created, nor the default folder, which is named after it (give --default-subfolder)\n"},
       {}},
      {"title with a colon, not the subfolder", {"--title", "Star: field", "--default-subfolder", "Stars"},
       {"holds ':', which a file name cannot hold: the readme, the shortcuts and the uninstall entry named after the "
        "title may not be created\n"},
       {}},
      {"64-bit saver, 32-bit stub", {"--saver", Path("saver64.scr")}, {"64-bit (x86-64) program but the stub a 32-bit"}, {}},
      {"partial language", {"--language", Path("de.lng")}, {},
       {"de.lng': 1 of 38 texts translated; these 37 stay English:\n  Cancel\n  Please read"}},
      {"unknown language key", {"--language", Path("typo.lng")},
       {"line 3: 'Nxet' is not a text of ours; did you mean 'Next'?"}, {"1 of 38 texts translated"}},
      {"language without a Setup section", {"--language", Path("no-section.lng")},
       {"no-section.lng': no line reads exactly Setup, so none of its entries is used\n"},
       {"0 of 38 texts translated; every text stays English\n"}},
      {"language with a section name in brackets", {"--language", Path("bracketed.lng")},
       {"no line reads exactly Setup, so none of its entries is used (line '[Setup]' comes close"},
       {"0 of 38 texts translated"}},
      {"Setup section with wrong keys only", {"--language", Path("wrong-keys.lng")},
       {"line 2: 'next' is not a text of ours; did you mean 'Next'?"},
       {"0 of 38 texts translated; every text stays English"}},
      {"empty line inside the section", {"--language", Path("empty-line.lng")},
       {"empty-line.lng' line 3 is empty, so it ends the Setup section: the 2 entries on lines 4 to 5 are not used"},
       {"2 of 38 texts translated"}},
      {"note inside the section", {"--language", Path("note.lng")},
       {"note.lng' line 3 ('# boutons') has no '=', so it ends the Setup section: the entry on line 4 is not used"},
       {"1 of 38 texts translated"}},
      {"default folder in the system folder, 32-bit stub",
       {"--default-folder", "<Windows>", "--default-subfolder", "system32\\"}, {},
       {"the default folder is in <Windows>\\System32: on 64-bit Windows this 32-bit stub installs into "
        "<Windows>\\SysWOW64 instead"}},
      {"the sample's complete translation", {"--language", SCR_SOURCE_DIR "/samples/starfield/french.lng"}, {},
       {"french.lng': 38 of 38 texts translated\n"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> extra = {"--file-name", "stars.scr"};  // a name Windows keeps
    extra.insert(extra.end(), c.extra.begin(), c.extra.end());
    ASSERT_EQ(Run(BuildArgs(extra)), 0) << c.name << ": " << err_;
    EXPECT_EQ(std::count(err_.begin(), err_.end(), '\n'), std::ptrdiff_t(c.warnings.size())) << c.name << ": " << err_;
    for (const std::string& warning : c.warnings)
      EXPECT_NE(err_.find(warning), std::string::npos) << c.name << ": " << err_;
    for (const std::string& note : c.notes) EXPECT_NE(out_.find(note), std::string::npos) << c.name << ": " << out_;
    if (c.notes.empty()) {
      EXPECT_EQ(std::count(out_.begin(), out_.end(), '\n'), 1) << c.name << ": " << out_;
    }
    // The closing line: the size, and how far the screen saver was compressed unless it was not.
    const std::string size = std::to_string(fs::file_size(Path("setup.exe")));
    const std::string wrote = "scrpack build: wrote " + Path("setup.exe") + " (" + size + " bytes";
    const bool stored = std::find(c.extra.begin(), c.extra.end(), "--no-compress") != c.extra.end();
    const std::size_t last = out_.rfind(wrote);
    ASSERT_NE(last, std::string::npos) << c.name << ": " << out_;
    const std::string rest = out_.substr(last + wrote.size());
    if (stored)
      EXPECT_EQ(rest, ")\n") << c.name;
    else
      EXPECT_TRUE(rest.rfind("; the screen saver's ", 0) == 0 && rest.find(" bytes compressed to ") != std::string::npos && rest.size() > 4 &&
                  rest.substr(rest.size() - 3) == "%)\n")
          << c.name << ": " << rest;
  }
}

// A flag set in a project file can be switched either way on the command line, and the file takes
// the common spellings of yes and no.
TEST_F(Scrpack, FlagsGoBothWays) {
  struct Case {
    std::string projectLine;
    std::vector<std::string> extra;
    const char* field;
    const char* expected;
  };
  const Case cases[] = {
      {"uninstall-entry = Yes", {}, "AddUninstallEntry", "yes"},
      {"uninstall-entry = TRUE", {}, "AddUninstallEntry", "yes"},
      {"uninstall-entry = 1", {}, "AddUninstallEntry", "yes"},
      {"uninstall-entry = NO", {}, "AddUninstallEntry", "no"},
      {"uninstall-entry = false", {}, "AddUninstallEntry", "no"},
      {"uninstall-entry = 0", {}, "AddUninstallEntry", "no"},
      {"desktop-shortcut = yes", {"--no-desktop-shortcut"}, "AddDesktopShortcut", "no"},
      {"desktop-shortcut = yes", {"--desktop-shortcut=no"}, "AddDesktopShortcut", "no"},
      {"desktop-shortcut = no", {"--desktop-shortcut"}, "AddDesktopShortcut", "yes"},
      {"start-menu = yes", {"--start-menu", "--no-start-menu"}, "AddStartMenuGroup", "no"},
      {"skip-folder-page = no", {"--skip-folder-page=Yes"}, "SkipFolderPage", "yes"},
      {"title = Stars", {"--title=Moon"}, "Title", "Moon"},
      {"title = Stars", {}, "ShellInstall", "yes"},
      {"shell-install = no", {}, "ShellInstall", "no"},
      {"shell-install = no", {"--shell-install"}, "ShellInstall", "yes"},
      {"shell-install = yes", {"--no-shell-install"}, "ShellInstall", "no"},
  };
  for (const Case& c : cases) {
    Write("flags.scrproj", c.projectLine + "\n");
    std::vector<std::string> extra = {"--project", Path("flags.scrproj")};
    extra.insert(extra.end(), c.extra.begin(), c.extra.end());
    ASSERT_EQ(Run(BuildArgs(extra)), 0) << c.projectLine << ": " << err_;
    EXPECT_EQ(Inspect("setup.exe")[c.field], c.expected) << c.projectLine;
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

TEST_F(Scrpack, VerifyAppliesTheStartUpChecksAndTheChecksums) {
  // A compressed image: a byte flipped in its coded frame is found by decoding it.
  ASSERT_EQ(Run(BuildArgs({"--readme", Path("readme.txt")})), 0) << err_;
  std::string coded = Read("setup.exe");
  coded[4096 + 100] = char(coded[4096 + 100] ^ 0x20);
  Write("coded-image.exe", coded);

  ASSERT_EQ(Run(BuildArgs({"--readme", Path("readme.txt"), "--publisher", "Stars Inc.", "--version", "3",
                           "--no-compress"})),
            0)
      << err_;
  const std::string setup = Read("setup.exe");
  const std::size_t end = std::size_t(PackageEnd(setup));
  Write("uninstall.exe", setup.substr(0, 4096) + setup.substr(end - 942 - kReadmeSize, kReadmeSize + 932) + "ScUnin.sig");
  std::string unmarked = Read("uninstall.exe");
  unmarked.replace(unmarked.size() - 22, 10, "SCRSet.sih");
  Write("unmarked.exe", unmarked);
  std::string wildReadme = setup;
  Put(wildReadme, end - 942 + 404, 0x7FFFFFF0, 4);  // ReadmeSize beyond the file
  Write("wild-readme.exe", wildReadme);
  // One byte changed in each part the block guards, and in the block itself.
  const auto flipped = [&](const char* name, std::size_t at) {
    std::string bytes = setup;
    bytes[at] = char(bytes[at] ^ 0x20);
    Write(name, bytes);
  };
  flipped("image.exe", 4096 + 500000);
  flipped("texts.exe", 4096 + 957122 + 3);
  flipped("record.exe", end - 942 + package::field::kLinkText.offset);
  flipped("block.exe", end + 30);
  Write("no-block.exe", setup.substr(0, end));
  // Without the record's flag, as other builders and earlier scrpacks write files.
  std::string unflagged = setup.substr(0, end);
  unflagged[end - 942 + 416] = 0;
  Write("foreign.exe", unflagged);
  Write("old-block.exe", unflagged + Read("block.exe").substr(end));
  // Signed, then a package hidden in the certificate table with the table's size enlarged.
  std::string forged = setup;
  Sign(forged);
  forged += setup.substr(4096);
  Put(forged, support::PeLayout{}.CertificateEntry() + 4, uint32_t(16 + setup.size() - 4096), 4);
  Write("forged.exe", forged);
  struct Case {
    const char* file;
    int code;
    const char* line;
    std::vector<std::string> rows;  // lines that follow the first
    bool starts;
  };
  const std::vector<std::string> intact = {"Extension: yes", "Image: intact", "Texts: intact", "Record: intact",
                                           "Publisher: Stars Inc.", "Version: 3", "ShellInstall: yes",
                                           "UninstallerSignature: none"};
  const Case cases[] = {
      {"setup.exe", 0, "would start as a setup file\n", intact, true},
      {"uninstall.exe", 0, "would start as an uninstaller\n", {}, true},
      {"stub.exe", 1, "would not start: no package found", {}, false},
      {"unmarked.exe", 1, "would not start: the uninstaller's record marker", {}, false},
      {"wild-readme.exe", 1, "would not start: corrupted package", {}, false},
      {"nothing.exe", 1, "would not start: the file cannot be read", {}, false},
      {"image.exe", 1, "the file is damaged: the checksum of the image differs, so setup would stop while installing",
       {"Image: damaged", "Texts: intact", "Record: intact"}, true},
      {"texts.exe", 1, "would not start: the file is damaged: the checksum of the texts differs\n",
       {"Image: intact", "Texts: damaged", "Record: intact"}, false},
      {"record.exe", 1, "would not start: the file is damaged: the checksum of the settings record differs\n",
       {"Image: intact", "Texts: intact", "Record: damaged"}, false},
      {"block.exe", 1, "would not start: the file is damaged: the extension block that its settings record announces is damaged\n",
       {"Extension: damaged", "Image: unchecked", "Texts: unchecked", "Record: unchecked"}, false},
      {"no-block.exe", 1, "would not start: the file is damaged: the extension block that its settings record announces is missing\n",
       {"Extension: missing", "Image: unchecked"}, false},
      {"foreign.exe", 0, "would start as a setup file\n", {"Extension: none", "Image: unchecked"}, true},
      {"old-block.exe", 1, "the extension block is damaged: setup ignores it",
       {"Extension: damaged, ignored", "Image: unchecked", "Texts: unchecked", "Record: unchecked"}, true},
      {"forged.exe", 1, "would not start: tampered: a package marker lies in or behind the code signature\n", {}, false},
      {"coded-image.exe", 1, "the file is damaged: the checksum of the image differs, so setup would stop",
       {"ImageCompressed: yes", "ImageInstalledSize: 957122", "Image: damaged", "Texts: intact"}, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Run({"verify", Path(c.file)}), c.code) << c.file;
    EXPECT_EQ(out_.rfind(Path(c.file) + ": " + c.line, 0), 0u) << c.file << ": " << out_;
    for (const std::string& row : c.rows) EXPECT_NE(out_.find("\n" + row + "\n"), std::string::npos) << c.file << ": " << out_;
    if (c.rows.empty()) {
      EXPECT_EQ(std::count(out_.begin(), out_.end(), '\n'), 1) << c.file;
    }
    EXPECT_EQ(Run({"verify", "--json", Path(c.file)}), c.code) << c.file;
    EXPECT_NE(out_.find(c.starts ? "\"Starts\": true" : "\"Starts\": false"), std::string::npos) << out_;
    EXPECT_NE(out_.find(c.code == 0 ? "\"Intact\": true" : "\"Intact\": false"), std::string::npos) << out_;
  }
  EXPECT_EQ(Inspect("block.exe")["Extension"], "damaged");
  EXPECT_EQ(Inspect("block.exe").count("Publisher"), 0u);
  EXPECT_EQ(Inspect("no-block.exe")["Extension"], "missing");
  EXPECT_EQ(Inspect("foreign.exe")["Extension"], "none");
  EXPECT_EQ(Run({"inspect", Path("forged.exe")}), 1);
  EXPECT_NE(err_.find("tampered"), std::string::npos) << err_;
  EXPECT_EQ(Run({"uninstaller", Path("no-block.exe"), "-o", Path("un.exe")}), 1);
  EXPECT_NE(err_.find("extension block"), std::string::npos) << err_;
}

TEST_F(Scrpack, InspectShowsACodeSignatureAndSpeaksJson) {
  ASSERT_EQ(Run(BuildArgs({"--title", "Say \"hi\""})), 0) << err_;
  std::string signedSetup = Read("setup.exe");
  const int64_t blockSize = int64_t(signedSetup.size()) - PackageEnd(signedSetup);
  Sign(signedSetup);
  Write("signed-setup.exe", signedSetup);
  EXPECT_EQ(Inspect("signed-setup.exe")["CertificateTable"], "yes");
  EXPECT_EQ(Inspect("signed-setup.exe")["TrailingBytes"], std::to_string(blockSize + 16));
  EXPECT_EQ(Inspect("signed-setup.exe")["Extension"], "yes");  // the table behind it is no harm
  ASSERT_EQ(Run({"inspect", "--json", Path("setup.exe")}), 0) << err_;
  EXPECT_EQ(out_.rfind("{\"Kind\": \"setup\", \"PackageEnd\": ", 0), 0u) << out_;
  EXPECT_NE(out_.find("\"Title\": \"Say \\\"hi\\\"\""), std::string::npos) << out_;
  EXPECT_NE(out_.find("\"AddUninstallEntry\": false"), std::string::npos) << out_;
  EXPECT_NE(out_.find("\"CertificateTable\": false, \"Extension\": \"yes\""), std::string::npos) << out_;
}

// Stands in for a signing tool: appends alignment and a certificate table and sets the header's
// checksum and certificate entry, as osslsigncode and signtool do. Its first argument says how
// it misbehaves, if at all.
constexpr char kFakeSigner[] = R"(import sys
mode, source, target = sys.argv[1:4]
data = bytearray(open(source, 'rb').read())
if mode == 'fail': sys.exit(3)
if mode == 'nothing': sys.exit(0)
if mode == 'mutate' or (mode == 'mutate-setup' and source.endswith('.tmp')): data[0x600] ^= 1
optional = int.from_bytes(data[0x3C:0x40], 'little') + 24
entry = optional + (112 if data[optional + 1] == 2 else 96) + 32
padding = b'\0' * (-len(data) % 8)
table = b'\x20\x00\x00\x00\x00\x02\x02\x00' + b'FAKESIG!' * 3
position = len(data) + len(padding) + (8 if mode == 'misplace' else 0)
data += padding + table
data[entry:entry + 8] = position.to_bytes(4, 'little') + len(table).to_bytes(4, 'little')
data[optional + 64:optional + 68] = (0x5EED0000 + len(data) % 65536).to_bytes(4, 'little')
open(target, 'wb').write(data)
)";

TEST_F(Scrpack, SignedUninstallerIsCarriedAndWrittenBack) {
  Write("signer.py", kFakeSigner);
  const std::string signer = "python3 '" + Path("signer.py") + "' ";
  const std::vector<std::string> inputs = {"--readme", Path("readme.txt"), "--uninstall-entry"};
  const auto build = [&](std::vector<std::string> extra) {
    extra.insert(extra.begin(), inputs.begin(), inputs.end());
    return Run(BuildArgs(extra));
  };

  // Unsigned: the uninstaller is the stub, the readme, the record as start-up rewrites it, the marker.
  ASSERT_EQ(build({"-o", Path("plain.exe")}), 0) << err_;
  ASSERT_EQ(Run({"uninstaller", Path("plain.exe"), "-o", Path("plain-un.exe")}), 0) << err_;
  EXPECT_NE(out_.find("unsigned: the setup file carries no signature"), std::string::npos) << out_;
  const std::string plainUninstaller = Read("plain-un.exe");
  ASSERT_EQ(plainUninstaller.size(), 4096 + kReadme.size() + 942);
  EXPECT_EQ(plainUninstaller.substr(0, 4096 + kReadme.size()), Read("stub.exe") + kReadme);
  EXPECT_EQ(plainUninstaller.substr(plainUninstaller.size() - 10), "ScUnin.sig");
  EXPECT_EQ(Inspect("plain-un.exe")["ScreensaverFileName"], "My_Stars.scr");
  ASSERT_EQ(std::system((signer + "sign '" + Path("plain-un.exe") + "' '" + Path("expected-un.exe") + "'").c_str()), 0);
  const std::string expected = Read("expected-un.exe");

  // Signed by the command: the setup file is signed, and so is the uninstaller it installs.
  const auto before = Snapshot(dir_);
  ASSERT_EQ(build({"--sign-command", signer + "sign {in} {out}"}), 0) << err_;
  auto after = Snapshot(dir_);
  after.erase(Path("setup.exe"));
  EXPECT_EQ(after, before);  // no temporary file left
  auto rows = Inspect("setup.exe");
  EXPECT_EQ(rows["CertificateTable"], "yes");
  EXPECT_EQ(rows["UninstallerSignature"], "fits");
  EXPECT_EQ(Run({"verify", Path("setup.exe")}), 0) << out_;
  EXPECT_NE(out_.find("\nUninstallerSignature: fits\n"), std::string::npos) << out_;
  ASSERT_EQ(Run({"uninstaller", Path("setup.exe"), "-o", Path("signed-un.exe")}), 0) << err_;
  EXPECT_NE(out_.find("signed with the signature the setup file carries"), std::string::npos) << out_;
  EXPECT_EQ(Read("signed-un.exe"), expected);

  // Signed earlier, taken back into a build of the same inputs.
  ASSERT_EQ(build({"--uninstaller-signature", Path("expected-un.exe"), "-o", Path("again.exe")}), 0) << err_;
  ASSERT_EQ(Run({"uninstaller", Path("again.exe"), "-o", Path("again-un.exe")}), 0) << err_;
  EXPECT_EQ(Read("again-un.exe"), expected);
  EXPECT_EQ(Inspect("again.exe")["CertificateTable"], "no");

  // An uninstaller signed for other settings does not fit.
  ASSERT_EQ(build({"--uninstaller-signature", Path("expected-un.exe"), "--title", "Other", "-o", Path("other.exe")}), 1);
  EXPECT_NE(err_.find("differs from the file it was signed from at byte"), std::string::npos) << err_;
}

TEST_F(Scrpack, SignCommandThatMisbehavesLeavesNothing) {
  Write("signer.py", kFakeSigner);
  ASSERT_EQ(Run(BuildArgs()), 0) << err_;
  const std::string earlier = Read("setup.exe");
  struct Case {
    const char* mode;
    const char* mustMention;
  };
  const Case cases[] = {
      {"fail", "the sign command failed on the uninstaller (exit status 3)"},
      {"nothing", "the sign command ended without writing {out} for the uninstaller"},
      {"mutate", "the signed uninstaller differs from the file it was signed from at byte 1536"},
      {"mutate-setup", "the signed setup file differs from the file it was signed from at byte 1536"},
      {"misplace", "the signed uninstaller has a certificate entry"},
  };
  const auto before = Snapshot(dir_);
  for (const Case& c : cases) {
    EXPECT_EQ(Run(BuildArgs({"--sign-command", "python3 '" + Path("signer.py") + "' " + c.mode + " {in} {out}"})), 1)
        << c.mode;
    EXPECT_NE(err_.find(c.mustMention), std::string::npos) << c.mode << ": " << err_;
    EXPECT_EQ(Snapshot(dir_), before) << c.mode;
  }
  EXPECT_EQ(Read("setup.exe"), earlier);
}

// Validates the three files against winget's own schemas, checks InstallerSha256 against the
// setup file, and compares the values named "manifest.Key.0.Key=value" ("None": left out). Prints
// what differs; nothing when all is well.
constexpr char kManifestCheck[] = R"(import hashlib, json, sys, jsonschema, yaml
schemas, folder, ident, setup = sys.argv[1:5]
docs = {}
for kind, name in (('version', ''), ('installer', '.installer'), ('defaultLocale', '.locale.en-US')):
    docs[kind] = yaml.safe_load(open(f'{folder}/{ident}{name}.yaml', encoding='utf-8'))
    schema = json.load(open(f'{schemas}/manifest.{kind}.1.10.0.json', encoding='utf-8'))
    for error in jsonschema.Draft7Validator(schema).iter_errors(docs[kind]):
        print(f'{kind}: {list(error.path)}: {error.message}')
if docs['installer']['Installers'][0]['InstallerSha256'] != hashlib.sha256(open(setup, 'rb').read()).hexdigest().upper():
    print('InstallerSha256 is not the setup file\'s')
for expected in sys.argv[5:]:
    path, value = expected.split('=', 1)
    node = docs
    for part in path.split('.'):
        node = node[int(part)] if isinstance(node, list) else node.get(part) if isinstance(node, dict) else None
    if str(node) != value:
        print(f'{path}: {node!r}, expected {value!r}')
)";

TEST_F(Scrpack, WingetManifestFollowsTheSchemaAndTheSetupFile) {
  const fs::path schemas = fs::path(SCR_SOURCE_DIR) / ".." / "shared" / "winget-manifest-1.10.0";
  Write("check.py", kManifestCheck);
  Write("stub64.exe", Program(4096, 0x8664, 2, true));
  struct Case {
    const char* name;
    std::vector<std::string> build;
    std::vector<std::string> winget;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"i686 stub with an uninstall entry",
       {"--publisher", "Caf\xC3\xA9 Stars", "--version", "2.1", "--uninstall-entry", "--link", "http://example.org/stars"},
       {},
       {"installer.Installers.0.Architecture=x86", "installer.ProductCode=My Stars",
        "installer.AppsAndFeaturesEntries.0.DisplayName=My Stars",
        "installer.AppsAndFeaturesEntries.0.Publisher=Caf\xC3\xA9 Stars",
        "installer.AppsAndFeaturesEntries.0.DisplayVersion=2.1", "installer.InstallerSwitches.Silent=-silent",
        "installer.InstallerSwitches.Log=-log \"<LOGPATH>\"",
        "installer.InstallerSwitches.InstallLocation=-dir \"<INSTALLPATH>\"",
        "installer.ExpectedReturnCodes.3.InstallerReturnCode=1618",
        "installer.ExpectedReturnCodes.3.ReturnResponse=installInProgress", "version.PackageVersion=2.1",
        "defaultLocale.Publisher=Caf\xC3\xA9 Stars", "defaultLocale.PackageName=My Stars",
        "defaultLocale.License=Proprietary", "defaultLocale.ShortDescription=My Stars screen saver",
        "defaultLocale.PackageUrl=http://example.org/stars"}},
      {"x86_64 stub without an entry, a title YAML must quote",
       {"--stub", Path("stub64.exe"), "--title", "Say \"hi\": #1", "--publisher", "Stars Inc.", "--version", "1.0"},
       {"--license", "MIT", "--description=Stars at night"},
       {"installer.Installers.0.Architecture=x64", "installer.ProductCode=None", "installer.AppsAndFeaturesEntries=None",
        "defaultLocale.PackageName=Say \"hi\": #1", "defaultLocale.License=MIT",
        "defaultLocale.ShortDescription=Stars at night", "defaultLocale.PackageUrl=None"}},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(Run(BuildArgs(c.build)), 0) << c.name << ": " << err_;
    std::vector<std::string> args = {"winget", Path("setup.exe"), "-o", Path("manifests"), "--id", "Stars.MyStars",
                                     "--url", "https://example.org/setup.exe"};
    args.insert(args.end(), c.winget.begin(), c.winget.end());
    ASSERT_EQ(Run(args), 0) << c.name << ": " << err_;
    EXPECT_EQ(err_.find("no uninstall entry") == std::string::npos, c.expected[1] != "installer.ProductCode=None")
        << c.name << ": " << err_;
    if (!fs::is_directory(schemas)) continue;
    std::string command = "python3 '" + Path("check.py") + "' '" + schemas.string() + "' '" + Path("manifests") +
                          "' Stars.MyStars '" + Path("setup.exe") + "'";
    for (const std::string& expected : c.expected) command += " '" + expected + "'";
    EXPECT_EQ(std::system((command + " >'" + Path("check.out") + "' 2>&1").c_str()), 0) << c.name << ": " << Read("check.out");
    EXPECT_EQ(Read("check.out"), "") << c.name;
  }
  if (!fs::is_directory(schemas)) GTEST_SKIP() << "no winget schemas at " << schemas << ": manifests not validated";
}

TEST_F(Scrpack, HelpForEachCommand) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"--help"}, {"build", "--help"}, {"inspect", "--help"}, {"verify", "--help"}, {"uninstaller", "--help"},
           {"winget", "--help"},
           {"--version"}}) {
    EXPECT_EQ(Run(args), 0);
    EXPECT_NE(out_.find("scrpack"), std::string::npos);
    EXPECT_TRUE(err_.empty());
  }
}

}  // namespace
