#include <gtest/gtest.h>

#include "app/command_line.h"
#include "app/unattended_switches.h"

namespace {

using Args = std::vector<std::string>;

struct SplitCase {
  const char* line;
  Args expected;
};

TEST(CommandLineTest, SplitsLikeTheProgramReadsIt) {
  const std::vector<SplitCase> cases = {
      {"", {}},
      {"   \t ", {}},
      {"setup.exe", {"setup.exe"}},
      {"\"C:\\Program Files\\setup.exe\" -silent", {"C:\\Program Files\\setup.exe", "-silent"}},
      {"a.exe  -delfile\tC:\\X~1.EXE", {"a.exe", "-delfile", "C:\\X~1.EXE"}},
      {"a.exe \"Screensaver Setup\" \"Sky has been removed.\"",
       {"a.exe", "Screensaver Setup", "Sky has been removed."}},
      // Backslashes are ordinary characters, also before a quote.
      {"a.exe \"C:\\dir\\\" next", {"a.exe", "C:\\dir\\", "next"}},
      {"a.exe C:\\a\\\\b", {"a.exe", "C:\\a\\\\b"}},
      // Quotes join stretches and vanish; an empty pair stays an (empty) argument.
      {"a.exe a\"b c\"d", {"a.exe", "ab cd"}},
      {"a.exe \"a\"\"b\"", {"a.exe", "ab"}},
      {"a.exe \"\" x", {"a.exe", "", "x"}},
      // An unterminated quote runs to the end.
      {"a.exe \"open ended  arg", {"a.exe", "open ended  arg"}},
      // Every control character counts as a blank.
      {"a.exe\x01x\x1fy\x7fz", {"a.exe", "x", "y\x7fz"}},
      {"a.exe \xe9t\xe9", {"a.exe", "\xe9t\xe9"}},
  };
  for (const auto& c : cases) EXPECT_EQ(app::SplitArguments(c.line), c.expected) << c.line;
}

TEST(CommandLineTest, CountsArgumentsAfterTheProgramAndReadsMissingOnesAsEmpty) {
  const app::CommandLine none = app::CommandLine::Parse("");
  EXPECT_EQ(none.Count(), 0u);
  EXPECT_EQ(none.Arg(0), "");
  const app::CommandLine two = app::CommandLine::Parse("\"C:\\a b\\s.exe\" -silent \"D:\\x y\"");
  EXPECT_EQ(two.Count(), 2u);
  EXPECT_EQ(two.Arg(0), "C:\\a b\\s.exe");
  EXPECT_EQ(two.Arg(2), "D:\\x y");
  EXPECT_EQ(two.Arg(3), "");
}

struct ModeCase {
  const char* line;
  bool silent;
  bool delFile;
};

TEST(CommandLineTest, RecognisesTheModes) {
  const std::vector<ModeCase> cases = {
      {"s.exe", false, false},
      {"s.exe -silent", true, false},
      {"s.exe -Silent", true, false},
      {"s.exe -SILENT C:\\dir", true, false},
      {"s.exe \" -silent\"", true, false},
      {"s.exe \"\t-silent \x01\"", true, false},
      {"s.exe /silent", false, false},
      {"s.exe -silentx", false, false},
      {"s.exe \"- silent\"", false, false},
      {"s.exe x -silent", false, false},
      {"s.exe -delfile", false, false},  // nothing to delete: an ordinary run
      {"s.exe -delfile C:\\u.exe", false, true},
      {"s.exe -delfile C:\\u.exe \"Cap\" \"Text\" extra", false, true},
      {"s.exe -delfile \"\"", false, true},
      {"s.exe -DELFILE C:\\u.exe", false, false},
      {"s.exe -Delfile C:\\u.exe", false, false},
      {"s.exe \" -delfile\" C:\\u.exe", false, false},
      {"s.exe x -delfile C:\\u.exe", false, false},
  };
  for (const auto& c : cases) {
    const app::CommandLine commandLine = app::CommandLine::Parse(c.line);
    EXPECT_EQ(app::IsSilentSwitch(commandLine), c.silent) << c.line;
    EXPECT_EQ(app::IsDelFileMode(commandLine), c.delFile) << c.line;
  }
}

TEST(CommandLineTest, ReadsTheUnattendedSwitchesInAnyOrder) {
  struct Case {
    const char* line;
    std::string folder;
    bool yes;
    bool shellInstall;
  };
  const std::vector<Case> cases = {
      {"s.exe -silent", "", false, true},
      {"s.exe -silent \"C:\\My Savers\"", "C:\\My Savers", false, true},
      {"s.exe -silent -log \"C:\\l.txt\" -dir \"D:\\x\"", "D:\\x", false, true},
      {"s.exe -silent -log -dir", "", false, true},  // a value is never a switch
      {"s.exe -silent C:\\a -dir D:\\b", "D:\\b", false, true},
      {"s.exe -silent -yes", "", true, true},
      {"s.exe -SILENT \" -No-Shell-Install \" C:\\a", "", false, false},
      {"s.exe -silent -unknown -dir", "-unknown", false, true},
      {"s.exe -yes -dir C:\\a -no-shell-install", "", false, true},  // not unattended
  };
  for (const auto& c : cases) {
    const app::UnattendedOptions o = app::ReadUnattendedOptions(app::CommandLine::Parse(c.line));
    EXPECT_EQ(o.folder, c.folder) << c.line;
    EXPECT_EQ(o.removeWithoutAsking, c.yes) << c.line;
    EXPECT_EQ(o.shellInstall, c.shellInstall) << c.line;
  }
}

}  // namespace
