// The run's log as the entry writes it: appended, time-stamped, naming what was not understood,
// and never in the way of the run.
#include <gtest/gtest.h>

#include "app/program.h"
#include "runlog/log_lines.h"
#include "support/fake_os.h"

namespace {

constexpr char kStamp[] = "2026-12-10 09:05:07.042  ";

struct LogCase {
  const char* name;
  std::string arguments;
  std::string logPath;                 // where the log must be; empty: nowhere
  std::string before;                  // the log's content before the run
  bool refuseLog = false;              // the log cannot be opened
  std::vector<std::string> expected;   // the lines after `before`, without their time stamp
};

const std::vector<std::string> kFacts = {
    "Program file: C:\\setup.exe",
    "Windows: 6.1, platform 2, Service Pack 1",
    "Account: \"tester\", elevated: no",
};

std::vector<std::string> Block(const std::string& commandLine, std::vector<std::string> ignored,
                               int exitCode) {
  std::vector<std::string> lines = {"==== Run started ====", "Command line: " + commandLine};
  lines.insert(lines.end(), ignored.begin(), ignored.end());
  lines.insert(lines.end(), kFacts.begin(), kFacts.end());
  lines.push_back("Exit code: " + std::to_string(exitCode));
  return lines;
}

TEST(RunLog, TheEntryAppendsOneStampedBlockAndNeverLetsTheLogChangeTheRun) {
  const std::vector<LogCase> cases = {
      {"no log", " -silent C:\\Savers", "", "", false, {}},
      {"wizard, relative path", " -log logs\\run.txt", "C:\\work\\logs\\run.txt", "", false,
       Block("C:\\setup.exe -log logs\\run.txt", {}, 3)},
      {"unquoted folder with a blank", " -silent C:\\Program Files\\Stars -log C:\\l.txt",
       "C:\\l.txt", "earlier run\r\n", false,
       Block("C:\\setup.exe -silent C:\\Program Files\\Stars -log C:\\l.txt",
             {"Ignored argument 3: \"Files\\Stars\""}, 3)},
      {"log cannot be opened", " -silent -log C:\\l.txt -dir C:\\x", "C:\\l.txt", "", true, {}},
  };
  for (const LogCase& c : cases) {
    SCOPED_TRACE(c.name);
    fake::FakeOs fake;
    fake.files.AddFolder("C:\\work\\logs");
    fake.files.SetCurrentFolder("C:\\work");
    if (!c.before.empty()) fake.files.AddFile(c.logPath, c.before);
    if (c.refuseLog) fake.FailOn("OpenFile", "l.txt");
    fake.system.SetCommandLine("C:\\setup.exe" + c.arguments);
    os::Os os = fake.Os();
    EXPECT_EQ(app::RunProgram(os, [](const app::CommandLine&, runlog::RunLog&) { return 3; }), 3);

    EXPECT_TRUE(fake.system.Messages().empty());
    if (c.expected.empty()) {
      EXPECT_FALSE(fake.files.HasFile("C:\\l.txt"));
      if (c.logPath.empty()) {
        EXPECT_EQ(fake.log.Count("OpenFile"), 0) << fake.log.Dump();
      }
      continue;
    }
    const std::string content = fake.files.Content(c.logPath).value_or("");
    ASSERT_EQ(content.compare(0, c.before.size(), c.before), 0) << "earlier lines stay";
    std::string expected = c.before;
    for (const std::string& line : c.expected) expected += kStamp + line + "\r\n";
    EXPECT_EQ(content, expected);
  }
}

TEST(RunLog, AFailureNamesItsStepPathCodeAndTheSystemsText) {
  struct Case {
    os::Cause cause;
    std::string line;
  };
  const std::vector<Case> cases = {
      {{"copy the screen saver", "R:\\During\\stars.scr", 112},
       "Failed: copy the screen saver: R:\\During\\stars.scr: error 112 (System text for 112)"},
      {{"read the package", "", 0}, "Failed: read the package"},
      {{"write the entry\r\nExit code: 0", "HKLM\\x", 5},
       "Failed: write the entry  Exit code: 0: HKLM\\x: error 5 (System text for 5)"},
  };
  for (const Case& c : cases) {
    fake::FakeOs fake;
    runlog::RunLog log(fake.files, fake.system, "C:\\l.txt");
    runlog::Failure(log, c.cause);
    EXPECT_EQ(fake.files.Content("C:\\l.txt"), kStamp + c.line + "\r\n");
  }
}

}  // namespace
