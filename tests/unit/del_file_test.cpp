// The "-delfile" mode as the command line starts it: the goodbye comes only with exactly four
// parameters, and the exit code says whether the file is gone.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/del_file.h"
#include "support/fake_os.h"
#include "app/exit_codes.h"

namespace {

TEST(DelFileMode, SaysGoodbyeOnlyWithFourArgumentsAndEndsWithWhatBecameOfTheFile) {
  struct Case {
    std::string arguments;
    bool held;  // the file is never released
    bool boxShown;
    int exitCode;
    std::string logged = "";  // a line the log given last must hold
  };
  const std::string log = " -log \"C:\\my logs\\l.txt\"";
  const std::vector<Case> cases = {
      {"-delfile C:\\PROGRA~1\\Sky\\UNINST~1.EXE", false, false, app::kExitDone},
      {"-delfile C:\\PROGRA~1\\Sky\\UNINST~1.EXE \"Screensaver Setup\"", false, false, app::kExitDone},
      {"-delfile C:\\PROGRA~1\\Sky\\UNINST~1.EXE \"Screensaver Setup\" \"Sky is gone.\"", false, true,
       app::kExitDone},
      {"-delfile C:\\PROGRA~1\\Sky\\UNINST~1.EXE \"Screensaver Setup\" \"Sky is gone.\" more", false, false,
       app::kExitDone},
      {"-delfile C:\\PROGRA~1\\Sky\\UNINST~1.EXE \"Screensaver Setup\" \"Sky is gone.\"", true, true,
       app::kExitFailedPartWay},
      {"-delfile C:\\PROGRA~1\\Sky\\UNINST~1.EXE \"Screensaver Setup\" \"Sky is gone.\"" + log, false, true,
       app::kExitDone, "File deleted: C:\\PROGRA~1\\Sky\\UNINST~1.EXE\r\n"},
      {"-delfile C:\\PROGRA~1\\Sky\\UNINST~1.EXE" + log, true, false, app::kExitFailedPartWay,
       "Failed: delete the uninstaller: C:\\PROGRA~1\\Sky\\UNINST~1.EXE: error 32 (System text for 32)\r\n"
       "2026-12-10 09:05:07.042  Outcome: the file goes when Windows restarts"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments + (c.held ? ", held" : ""));
    fake::FakeOs fake;
    fake.files.AddFile("C:\\PROGRA~1\\Sky\\UNINST~1.EXE", "MZ");
    fake.files.AddFolder("C:\\my logs");
    fake.system.SetModulePath("C:\\windows\\temp\\uninst.exe");
    os::Os os = fake.Os();
    auto holder = fake.files.Open("C:\\PROGRA~1\\Sky\\UNINST~1.EXE", os::OpenMode::kReadShareRead);
    if (!c.held) holder.reset();

    EXPECT_EQ(app::RunDelFile(os, app::CommandLine::Parse("u.exe " + c.arguments)), c.exitCode);
    // Without "-log" no log is written; with it, the line is there.
    const std::optional<std::string> written = fake.files.Content("C:\\my logs\\l.txt");
    if (c.logged.empty()) {
      EXPECT_FALSE(written);
    } else {
      EXPECT_NE(written.value_or("").find(c.logged), std::string::npos);
    }

    EXPECT_EQ(fake.files.HasFile("C:\\PROGRA~1\\Sky\\UNINST~1.EXE"), c.held);
    ASSERT_EQ(fake.system.Messages().size(), c.boxShown ? 1u : 0u);
    if (c.boxShown) {
      EXPECT_EQ(fake.system.Messages()[0].caption, "Screensaver Setup");
      EXPECT_EQ(fake.system.Messages()[0].text, "Sky is gone.") << "left to the restart, which the system accepts";
    }
  }
}

}  // namespace
