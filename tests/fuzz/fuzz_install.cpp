// Damaged setup files run as an unattended installation against the test double. Whatever the
// damage, the run ends with one of the documented exit codes, shows no box (but the question an
// uninstaller always asks, when damage made the file one), holds no file open, and either installs
// completely or leaves the machine as it found it.
//
// Input: two bytes that say how much to cut off the end (when the first is 128 or more), then
// groups of three: a position counted back from the end (two bytes) and a value to XOR there.
// They are applied to a small but complete setup file, so that most inputs get past the package
// checks and into the installation.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/start_up.h"
#include "language/translation.h"
#include "support/fake_os.h"
#include "support/setup_file.h"

namespace {

constexpr char kSetupPath[] = "C:\\downloads\\setup.exe";
constexpr char kTarget[] = "C:\\Target\\Deep";

void Check(bool condition) {
  if (!condition) std::abort();
}

// An unattended run shows no wizard; the uninstaller's boxes still get their owner.
class NoWizard : public app::Windows {
 public:
  integration::RunOutcome RunWizard(const package::OwnPackage&, runlog::RunLog&) override {
    std::abort();
  }
  os::WindowRef HiddenOwner() override { return 0x1234; }
};

std::string PristineSetupFile() {
  support::SetupContents c = support::StarsContents();
  c.readme = "Read me.\r\nTwice.";
  c.language = "Setup\r\nUninstall=Remove\r\nReadme=Notes\r\n";
  support::SetFlags(c.record, {});
  return support::AssembleSetupFile("MZ-a-stub-that-stands-in-for-the-program", c);
}

std::string Damaged(const uint8_t* data, size_t size) {
  static const std::string pristine = PristineSetupFile();
  std::string file = pristine;
  if (size >= 2 && data[0] >= 128) file.resize(file.size() - ((data[0] - 128) << 8 | data[1]) % file.size());
  for (size_t i = 2; i + 2 < size && !file.empty(); i += 3) {
    const size_t back = (size_t(data[i]) << 8 | data[i + 1]) % file.size();
    file[file.size() - 1 - back] = static_cast<char>(file[file.size() - 1 - back] ^ data[i + 2]);
  }
  return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fake::FakeOs fake;
  os::Os os = fake.Os();
  fake.files.AddFile(kSetupPath, Damaged(data, size));
  fake.system.SetModulePath(kSetupPath);
  // Damage may turn the file into an uninstaller, which always asks first: the answer is No.
  fake.system.defaultYesNoAnswer = os::kIdNo;
  const std::vector<std::string> before = fake.files.Entries();
  NoWizard windows;
  runlog::RunLog noLog;
  const int exitCode = app::StartUp(os, app::CommandLine({kSetupPath, "-silent", kTarget}), windows, noLog);
  language::FreeTranslation();

  for (const fake::Message& message : fake.system.Messages()) Check(message.flags == (os::kMbYesNo | os::kMbIconQuestion));
  Check(exitCode >= 0 && exitCode <= 3);
  for (const std::string& path : fake.files.Entries()) Check(fake.files.OpenHandles(path) == 0);
  if (exitCode == 0) {
    // Installed: the record names the file that was written.
    bool recorded = false;
    for (const std::string& key : fake.registry.KeyPaths(os::RegRoot::kCurrentUser)) {
      const auto path = fake.registry.StringValue(os::RegRoot::kCurrentUser, key, "FileName_");
      recorded = recorded || (path && fake.files.HasFile(*path));
    }
    Check(recorded);
  } else {
    Check(fake.files.Entries() == before);
    Check(fake.registry.KeyPaths(os::RegRoot::kLocalMachine).empty());
    Check(fake.shell.Executions().empty());
  }
  return 0;
}
