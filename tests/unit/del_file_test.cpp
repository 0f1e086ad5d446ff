// The "-delfile" mode as the command line starts it: the goodbye comes only with exactly four
// parameters, and the exit code says whether the file is gone.
#include <gtest/gtest.h>

#include "app/del_file.h"
#include "support/fake_os.h"
#include "app/exit_codes.h"

namespace {

TEST(DelFileMode, SaysGoodbyeOnlyWithFourArgumentsAndEndsWithWhatBecameOfTheFile) {
  struct Case {
    const char* arguments;
    bool held;  // the file is never released
    bool boxShown;
    int exitCode;
  };
  const std::vector<Case> cases = {
      {"-delfile C:\\PROGRA~1\\Sky\\UNINST~1.EXE", false, false, app::kExitDone},
      {"-delfile C:\\PROGRA~1\\Sky\\UNINST~1.EXE \"Screensaver Setup\"", false, false, app::kExitDone},
      {"-delfile C:\\PROGRA~1\\Sky\\UNINST~1.EXE \"Screensaver Setup\" \"Sky is gone.\"", false, true,
       app::kExitDone},
      {"-delfile C:\\PROGRA~1\\Sky\\UNINST~1.EXE \"Screensaver Setup\" \"Sky is gone.\" more", false, false,
       app::kExitDone},
      {"-delfile C:\\PROGRA~1\\Sky\\UNINST~1.EXE \"Screensaver Setup\" \"Sky is gone.\"", true, true,
       app::kExitFailedPartWay},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.arguments) + (c.held ? ", held" : ""));
    fake::FakeOs fake;
    fake.files.AddFile("C:\\PROGRA~1\\Sky\\UNINST~1.EXE", "MZ");
    fake.system.SetModulePath("C:\\windows\\temp\\uninst.exe");
    os::Os os = fake.Os();
    auto holder = fake.files.Open("C:\\PROGRA~1\\Sky\\UNINST~1.EXE", os::OpenMode::kReadShareRead);
    if (!c.held) holder.reset();

    EXPECT_EQ(app::RunDelFile(os, app::CommandLine::Parse(std::string("u.exe ") + c.arguments)), c.exitCode);

    EXPECT_EQ(fake.files.HasFile("C:\\PROGRA~1\\Sky\\UNINST~1.EXE"), c.held);
    ASSERT_EQ(fake.system.Messages().size(), c.boxShown ? 1u : 0u);
    if (c.boxShown) {
      EXPECT_EQ(fake.system.Messages()[0].caption, "Screensaver Setup");
      EXPECT_EQ(fake.system.Messages()[0].text, "Sky is gone.") << "left to the restart, which the system accepts";
    }
  }
}

}  // namespace
