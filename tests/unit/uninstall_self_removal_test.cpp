// The temporary uninstaller copy's side of self-removal.
#include <gtest/gtest.h>

#include "support/fake_os.h"
#include "uninstall/self_removal.h"

namespace {

using uninstall::FinishSelfRemoval;
using uninstall::Goodbye;

constexpr char kOwnPath[] = "C:\\windows\\temp\\uninst.exe";

TEST(SelfRemovalCopy, DeletesSchedulesOwnFileAndSaysGoodbyeWhenGivenOne) {
  for (const bool withGoodbye : {false, true}) {
    SCOPED_TRACE(withGoodbye ? "goodbye" : "no goodbye");
    fake::FakeOs fake;
    fake.files.AddFile("C:\\PROGRA~1\\Sky\\UNINST~1.EXE", "MZ");
    fake.system.SetModulePath(kOwnPath);
    os::Os os = fake.Os();
    const Goodbye goodbye{"Screensaver Setup", "Sky is gone."};

    EXPECT_TRUE(FinishSelfRemoval(os, "C:\\PROGRA~1\\Sky\\UNINST~1.EXE", withGoodbye ? &goodbye : nullptr));

    EXPECT_FALSE(fake.files.HasFile("C:\\PROGRA~1\\Sky\\UNINST~1.EXE"));
    EXPECT_EQ(fake.files.RebootDeletions(), std::vector<std::string>{kOwnPath});
    ASSERT_EQ(fake.system.Messages().size(), withGoodbye ? 1u : 0u);
    if (withGoodbye) {
      const fake::Message& box = fake.system.Messages()[0];
      EXPECT_EQ(box.owner, 0u);
      EXPECT_EQ(box.caption, "Screensaver Setup");
      EXPECT_EQ(box.text, "Sky is gone.");
      EXPECT_EQ(box.flags, 0x40u);
      EXPECT_LT(fake.log.IndexOf("DeleteAtReboot"), fake.log.IndexOf("ShowMessage"));
    }
    EXPECT_EQ(fake.system.SleepCount(), 0);
  }
}

struct WaitCase {
  const char* name;
  const char* path;  // what the command line names
  int releasedAfterSleeps;  // -1: never released
  bool fileGoneAtEnd;
  int expectedDeleteAttempts;
};

// The file is held by a running process (the uninstaller) until some point; the fake plays that
// by keeping it open until the n-th pause.
TEST(SelfRemovalCopy, WaitsForTheFileToBeReleasedAndGivesUpOnlyAfterTheBound) {
  constexpr int kMaxPauses =
      static_cast<int>(uninstall::kDelFileGiveUpMilliseconds / uninstall::kDelFileRetryMilliseconds);
  const std::vector<WaitCase> cases = {
      {"free at once", "C:\\u.exe", 0, true, 1},
      {"released after 3 pauses", "C:\\u.exe", 3, true, 4},
      {"never released", "C:\\u.exe", -1, false, kMaxPauses + 1},
      {"absent", "C:\\nothing.exe", 0, true, 1},
      {"empty path", "", 0, true, 1},
      {"a folder", "C:\\windows", 0, true, 1},
      {"wildcards", "C:\\*.exe", -1, false, 1},
  };
  for (const auto& c : cases) {
    fake::FakeOs fake;
    fake.files.AddFile("C:\\u.exe", "MZ");
    os::Os os = fake.Os();
    auto holder = fake.files.Open("C:\\u.exe", os::OpenMode::kReadShareRead);
    if (c.releasedAfterSleeps == 0) holder.reset();
    fake.system.onSleep = [&](uint64_t) {
      if (fake.system.SleepCount() == c.releasedAfterSleeps) holder.reset();
    };

    const bool gone = FinishSelfRemoval(os, c.path, nullptr);

    EXPECT_EQ(fake.log.Count("DeleteFile"), c.expectedDeleteAttempts) << c.name;
    EXPECT_EQ(fake.system.SleepCount(), c.expectedDeleteAttempts - 1) << c.name;
    for (const std::string& line : fake.log.LinesOf("Sleep"))
      EXPECT_EQ(line, "Sleep " + std::to_string(uninstall::kDelFileRetryMilliseconds));
    if (std::string(c.path) == "C:\\u.exe") {
      EXPECT_EQ(!fake.files.HasFile("C:\\u.exe"), c.fileGoneAtEnd) << c.name;
    }
    // A file given up on is left to the next restart, next to our own file; the result says it stays.
    const bool givenUp = c.expectedDeleteAttempts > 1 && c.releasedAfterSleeps < 0;
    EXPECT_EQ(fake.files.RebootDeletions().size(), givenUp ? 2u : 1u) << c.name;
    EXPECT_EQ(gone, !givenUp) << c.name;
  }
}

// After the bound the closing box is shown only when the file is gone at restart at the latest;
// otherwise the user learns which file stays.
TEST(SelfRemovalCopy, GivingUpNamesTheFileUnlessItGoesAtRestart) {
  for (const bool restartRefused : {false, true}) {
    SCOPED_TRACE(restartRefused ? "restart deletion refused" : "restart deletion accepted");
    fake::FakeOs fake;
    fake.files.AddFile("C:\\u.exe", "MZ");
    os::Os os = fake.Os();
    auto holder = fake.files.Open("C:\\u.exe", os::OpenMode::kReadShareRead);  // never released
    if (restartRefused) fake.FailOn("DeleteAtReboot", "u.exe");
    const Goodbye goodbye{"Cap", "Sky is gone."};
    EXPECT_FALSE(FinishSelfRemoval(os, "C:\\u.exe", &goodbye));
    ASSERT_EQ(fake.system.Messages().size(), 1u);
    const fake::Message& box = fake.system.Messages()[0];
    EXPECT_EQ(box.caption, "Cap");
    if (restartRefused) {
      EXPECT_EQ(box.text, "The file \"C:\\u.exe\" could not be removed. Please delete it yourself.");
      EXPECT_EQ(box.flags, os::kMbOk | os::kMbIconWarning);
    } else {
      EXPECT_EQ(box.text, "Sky is gone.");
      EXPECT_EQ(fake.files.RebootDeletions().front(), "C:\\u.exe");
    }
  }
}

// The copy's own folder goes at restart with it, but only a folder the uninstaller made for a
// copy: "-delfile" started from anywhere else must never remove the folder it lies in.
TEST(SelfRemovalCopy, SchedulesTheRunFolderOfAnUninstallerCopyAfterTheCopy) {
  struct Case {
    std::string ownPath;
    std::vector<std::string> scheduled;
  };
  const std::string runFolder = "C:\\windows\\temp\\ZUZOrilder-00ff10a0b0c0d0e0";
  const std::vector<Case> cases = {
      {runFolder + "\\ZUZOrilderuninst0.exe", {runFolder + "\\ZUZOrilderuninst0.exe", runFolder}},
      {runFolder + "\\zuzoriLDERuninst0.EXE", {runFolder + "\\zuzoriLDERuninst0.EXE", runFolder}},
      {"C:\\windows\\temp\\ZUZOrilderuninst0.exe", {"C:\\windows\\temp\\ZUZOrilderuninst0.exe"}},
      {"C:\\Users\\me\\Downloads\\ZUZOrilderuninst0.exe", {"C:\\Users\\me\\Downloads\\ZUZOrilderuninst0.exe"}},
      {runFolder + "\\setup.exe", {runFolder + "\\setup.exe"}},
      {"C:\\windows\\temp\\ZUZOrilder-00ff10a0b0c0d0\\ZUZOrilderuninst0.exe",
       {"C:\\windows\\temp\\ZUZOrilder-00ff10a0b0c0d0\\ZUZOrilderuninst0.exe"}},
      {"C:\\windows\\temp\\ZUZOrilder-00ff10a0b0c0d0zz\\ZUZOrilderuninst0.exe",
       {"C:\\windows\\temp\\ZUZOrilder-00ff10a0b0c0d0zz\\ZUZOrilderuninst0.exe"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ownPath);
    fake::FakeOs fake;
    fake.files.AddFile(c.ownPath, "MZ");
    fake.system.SetModulePath(c.ownPath);
    os::Os os = fake.Os();
    const Goodbye goodbye{"Cap", "Text"};
    FinishSelfRemoval(os, "C:\\gone.exe", &goodbye);
    EXPECT_EQ(fake.files.RebootDeletions(), c.scheduled);
  }
}

TEST(SelfRemovalCopy, FailuresOfTheSystemStillEndWithTheClosingMessage) {
  for (const char* failing : {"DeleteAtReboot", "ModulePath", "Attributes", "DeleteFile"}) {
    fake::FakeOs fake;
    fake.files.AddFile("C:\\u.exe", "MZ");
    fake.FailOn(failing);
    os::Os os = fake.Os();
    const Goodbye goodbye{"Cap", "Text"};
    FinishSelfRemoval(os, "C:\\u.exe", &goodbye);
    // A file that never goes is handed to the restart as well, which the system accepts here.
    const std::string op = failing;
    EXPECT_EQ(fake.log.Count("DeleteAtReboot"), op == "ModulePath" ? 0 : op == "DeleteFile" ? 2 : 1) << failing;
    ASSERT_EQ(fake.system.Messages().size(), 1u) << failing;
    EXPECT_EQ(fake.system.Messages()[0].text, "Text") << failing;
  }
}

}  // namespace
