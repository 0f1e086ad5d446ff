// The file-removal mode of the real stub: what the uninstaller's temporary copy does once the
// uninstaller has ended.
#include <gtest/gtest.h>

#include "support/e2e_support.h"

namespace {

using e2e::Quote;

constexpr char kTitle[] = "Screensaver Setup";
constexpr char kGoodbye[] = "Starfield has been successfully removed from your computer.";

// The stub runs as a temporary copy, as the uninstaller starts it; its own path is what it must
// schedule for deletion.
struct Copy {
  std::string folder;
  std::string program;
  std::string victim;
};

Copy PrepareCopy() {
  Copy copy;
  copy.folder = e2e::ScratchFolder();
  copy.program = e2e::Join(copy.folder, "del copy.exe");
  copy.victim = e2e::Join(copy.folder, "Uninstall Starfield.exe");
  EXPECT_TRUE(e2e::CopyFileTo(e2e::StubPath(), copy.program));
  EXPECT_TRUE(e2e::WriteFileBytes(copy.victim, "MZ pretend uninstaller"));
  return copy;
}

bool ScheduledForDeletion(const std::string& path) {
  for (const std::string& pending : e2e::PendingRebootDeletions())
    if (e2e::SamePath(pending, path)) return true;
  return false;
}

// Waits for the process to end and reports whether any window of it was seen meanwhile.
bool EndsWithoutWindow(const e2e::Process& process) {
  bool windowSeen = false;
  const bool ended = e2e::WaitFor([&] {
    windowSeen = windowSeen || !e2e::TopLevelWindows(process.Id()).empty();
    return !process.Running();
  });
  EXPECT_TRUE(ended) << "still running";
  return ended && !windowSeen;
}

TEST(DelFileTest, RemovesTheFileSchedulesItselfAndSaysGoodbye) {
  const Copy copy = PrepareCopy();
  const std::string shortVictim = e2e::ShortPath(copy.victim);
  ASSERT_FALSE(shortVictim.empty());
  e2e::Process process = e2e::StartProcess(Quote(copy.program) + " -delfile " + shortVictim + " " +
                                           Quote(kTitle) + " " + Quote(kGoodbye));
  ASSERT_TRUE(process.Started());

  const auto box = e2e::WaitForMessageBox(process);
  ASSERT_TRUE(box) << "no closing message";
  EXPECT_EQ(box->caption, kTitle);
  EXPECT_EQ(box->text, kGoodbye);
  EXPECT_TRUE(box->hasIcon);
  ASSERT_EQ(box->buttons.size(), 1u);
  EXPECT_EQ(box->buttons[0].first, IDOK);
  // The box comes last: by now the file is gone and the restart deletion is on record.
  EXPECT_FALSE(e2e::FileExists(copy.victim));
  EXPECT_TRUE(ScheduledForDeletion(copy.program));

  ASSERT_TRUE(e2e::ClickButton(box->window, IDOK));
  ASSERT_TRUE(process.WaitForExit());
  EXPECT_EQ(process.ExitCode(), 0u);
}

struct QuietCase {
  const char* name;
  const char* tail;  // after "-delfile <file>"
};

TEST(DelFileTest, WithoutExactlyFourArgumentsEndsWithoutAnyWindow) {
  const std::vector<QuietCase> cases = {
      {"two", ""},
      {"three", " \"Screensaver Setup\""},
      {"five", " \"Screensaver Setup\" \"Gone.\" extra"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Copy copy = PrepareCopy();
    e2e::Process process = e2e::StartProcess(Quote(copy.program) + " -delfile " + Quote(copy.victim) + c.tail);
    ASSERT_TRUE(process.Started());
    EXPECT_TRUE(EndsWithoutWindow(process));
    EXPECT_EQ(process.ExitCode(), 0u);
    EXPECT_FALSE(e2e::FileExists(copy.victim));
    EXPECT_TRUE(ScheduledForDeletion(copy.program));
  }
}

TEST(DelFileTest, AMissingFileEndsAtOnce) {
  const Copy copy = PrepareCopy();
  const std::string missing = e2e::Join(copy.folder, "never there.exe");
  e2e::Process process = e2e::StartProcess(Quote(copy.program) + " -delfile " + Quote(missing));
  ASSERT_TRUE(process.Started());
  EXPECT_TRUE(EndsWithoutWindow(process));
  EXPECT_TRUE(e2e::FileExists(copy.victim));
  EXPECT_TRUE(ScheduledForDeletion(copy.program));
}

TEST(DelFileTest, WaitsForAFileInUseAndDeletesItOnceReleased) {
  const Copy copy = PrepareCopy();
  // Held the way a running program holds its own file: no sharing of deletion.
  os::win32::UniqueFile held(CreateFileA(copy.victim.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(held);
  e2e::Process process = e2e::StartProcess(Quote(copy.program) + " -delfile " + Quote(copy.victim));
  ASSERT_TRUE(process.Started());

  // While the file is held the mode must keep waiting, not give up.
  EXPECT_FALSE(process.WaitForExit(3000));
  EXPECT_TRUE(e2e::FileExists(copy.victim));

  held.Reset();
  ASSERT_TRUE(process.WaitForExit());
  EXPECT_FALSE(e2e::FileExists(copy.victim));
  EXPECT_TRUE(ScheduledForDeletion(copy.program));
}

// Not the removal mode: the program goes on as an ordinary run, which must neither touch the
// named file nor schedule itself for deletion. Whatever it shows is closed by the test.
TEST(DelFileTest, OtherSpellingsAreOrdinaryRuns) {
  for (const char* form : {"-DELFILE", "-Delfile", "\" -delfile\"", "/delfile"}) {
    SCOPED_TRACE(form);
    const Copy copy = PrepareCopy();
    e2e::Process process = e2e::StartProcess(Quote(copy.program) + " " + form + " " + Quote(copy.victim));
    ASSERT_TRUE(process.Started());
    EXPECT_TRUE(e2e::WaitFor([&] { return !process.Running() || !e2e::TopLevelWindows(process.Id()).empty(); }));
    process.Kill();
    EXPECT_TRUE(e2e::FileExists(copy.victim));
    EXPECT_FALSE(ScheduledForDeletion(copy.program));
  }
  // "-delfile" alone names nothing to delete: an ordinary run as well.
  const Copy copy = PrepareCopy();
  e2e::Process process = e2e::StartProcess(Quote(copy.program) + " -delfile");
  ASSERT_TRUE(process.Started());
  EXPECT_TRUE(e2e::WaitFor([&] { return !process.Running() || !e2e::TopLevelWindows(process.Id()).empty(); }));
  process.Kill();
  EXPECT_FALSE(ScheduledForDeletion(copy.program));
}

}  // namespace
