// A run of the program from its first call: the DLL search is protected before anything else
// happens, in every mode.
#include <gtest/gtest.h>

#include "app/dll_search.h"
#include "app/program.h"
#include "start_up_rig.h"

namespace {

struct ModeCase {
  const char* name;
  std::string arguments;
  bool uninstaller;
};

// Runs the program as the entry point does, with the rig's windows in place of the real ones. The log then holds every call the run made, in order.
std::vector<std::string> RunAndLog(rig::WizardRig& r, const ModeCase& c) {
  support::SetupContents contents = support::StarsContents();
  const std::string setupFile = rig::SetupFile(contents);
  r.PutOwnFile(c.uninstaller ? rig::AsUninstaller(setupFile) : setupFile);
  r.fake.files.AddFile("C:\\gone.exe", "MZ");
  r.fake.system.SetCommandLine(std::string(rig::kSetupPath) + c.arguments);
  r.fake.log.Clear();
  app::RunProgram(r.os, [&](const app::CommandLine& commandLine, runlog::RunLog& log) {
    return app::StartUp(r.os, commandLine, r, log);
  });
  return r.fake.log.Lines();
}

const std::vector<ModeCase> kModes = {
    {"setup", "", false},
    {"silent setup", " -silent C:\\Savers", false},
    {"uninstaller", "", true},
    {"file removal", " -delfile C:\\gone.exe Cap Text", false},
};

TEST(Program, ProtectsTheDllSearchBeforeAnythingElseInEveryMode) {
  for (const ModeCase& c : kModes) {
    SCOPED_TRACE(c.name);
    rig::WizardRig r;
    const std::vector<std::string> lines = RunAndLog(r, c);
    std::vector<std::string> expected = {"RestrictDllSearch"};
    for (const char* helper : app::kHelperDlls) expected.push_back(std::string("LoadSystemLibrary ") + helper);
    expected.push_back("CommandLine");
    // The run did its mode's work afterwards.
    ASSERT_GT(lines.size(), expected.size() + 3) << r.fake.log.Dump();
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + expected.size()), expected);
    EXPECT_EQ(r.fake.log.Count("SetDllDirectory"), 0);
  }
}

// Without SetDefaultDllDirectories (before Windows 8 without its update) the current folder
// leaves the search instead, still before the helpers and the command line.
TEST(Program, WithoutTheRestrictionTheCurrentFolderLeavesTheSearch) {
  for (const ModeCase& c : kModes) {
    SCOPED_TRACE(c.name);
    rig::WizardRig r;
    r.fake.system.hasDefaultDllDirectories = false;
    const std::vector<std::string> lines = RunAndLog(r, c);
    std::vector<std::string> expected = {"RestrictDllSearch [failed]", "SetDllDirectory"};
    for (const char* helper : app::kHelperDlls) expected.push_back(std::string("LoadSystemLibrary ") + helper);
    expected.push_back("CommandLine");
    ASSERT_GT(lines.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + expected.size()), expected);
  }
}

}  // namespace
