// The real OS boundary against the real API: the places where a wrapper typically goes wrong
// (sharing, buffer sizes, terminators, long names, links, the folder dialog).
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <iterator>
#include <memory>
#include <thread>

#include "os/win32/win_os.h"
#include "support/e2e_support.h"
#include "support/share_cases.h"

namespace {

using os::OpenMode;

// The same table holds for the in-memory double: both must agree with Windows.
TEST(OsFilesTest, SharingOfTwoOpensFollowsTheModes) {
  const auto& cases = support::kShareCases;
  os::win32::WinFiles files;
  const std::string path = e2e::Join(e2e::ScratchFolder(), "shared.bin");
  ASSERT_TRUE(e2e::WriteFileBytes(path, "abc"));
  for (size_t i = 0; i < std::size(cases); ++i) {
    auto first = files.Open(path, cases[i].first);
    ASSERT_NE(first, nullptr) << i;
    auto second = files.Open(path, cases[i].second);
    EXPECT_EQ(second != nullptr, cases[i].secondOpens) << i;
    EXPECT_FALSE(files.DeleteFileAt(path)) << "deleted while open, case " << i;
  }
}

TEST(OsFilesTest, ReadsWritesAndSeeksBeyondFourGigabytePositions) {
  os::win32::WinFiles files;
  const std::string path = e2e::Join(e2e::ScratchFolder(), "data.bin");
  auto file = files.Open(path, OpenMode::kCreateAlways);
  ASSERT_NE(file, nullptr);
  uint32_t done = 0;
  ASSERT_TRUE(file->Write("0123456789", 10, done));
  EXPECT_EQ(done, 10u);
  EXPECT_EQ(file->Size(), 10);
  EXPECT_EQ(file->Position(), 10);
  ASSERT_TRUE(file->Seek(4));
  char buffer[16] = {};
  ASSERT_TRUE(file->Read(buffer, sizeof(buffer), done));
  EXPECT_EQ(std::string(buffer, done), "456789");
  ASSERT_TRUE(file->Read(buffer, sizeof(buffer), done));
  EXPECT_EQ(done, 0u);  // at the end: success with nothing delivered
  // A position past 4 GB must not be cut to 32 bits (no data is written there).
  ASSERT_TRUE(file->Seek(int64_t{5} << 30));
  EXPECT_EQ(file->Position(), int64_t{5} << 30);
  EXPECT_FALSE(file->Seek(-1));
  file.reset();
  EXPECT_EQ(files.Open(path, OpenMode::kCreateNew), nullptr) << "the name is taken";
  auto reopened = files.Open(path, OpenMode::kCreateAlways);
  EXPECT_EQ(reopened->Size(), 0);
  reopened.reset();
  ASSERT_TRUE(files.DeleteFileAt(path));
  EXPECT_NE(files.Open(path, OpenMode::kCreateNew), nullptr);
}

TEST(OsFilesTest, TellsFilesFromFoldersAndResolvesPaths) {
  os::win32::WinFiles files;
  const std::string folder = e2e::ScratchFolder();
  const std::string file = e2e::Join(folder, "name with blanks.txt");
  ASSERT_TRUE(e2e::WriteFileBytes(file, "x"));
  EXPECT_TRUE(files.FileExists(file));
  EXPECT_FALSE(files.FileExists(folder));
  EXPECT_FALSE(files.FileExists(e2e::Join(folder, "missing.txt")));
  EXPECT_NE(files.Attributes(folder) & os::kAttributeDirectory, 0u);
  EXPECT_EQ(files.Attributes(e2e::Join(folder, "missing.txt")), os::kInvalidAttributes);

  EXPECT_TRUE(e2e::SamePath(files.FullPathName(e2e::Join(folder, "a\\..\\.\\name with blanks.txt")), file));
  EXPECT_EQ(files.FullPathName(""), "");
  // Longer than MAX_PATH: the ANSI call may refuse it, but a cut-off path must never come back.
  const std::string longName = folder + "\\" + std::string(300, 'n');
  const std::string longFull = files.FullPathName(longName);
  EXPECT_TRUE(longFull.empty() || longFull == longName) << longFull.size();

  const std::string shortForm = files.ShortPathName(file);
  ASSERT_FALSE(shortForm.empty());
  EXPECT_EQ(shortForm.find(' '), std::string::npos) << shortForm;
  EXPECT_EQ(e2e::ReadFileBytes(shortForm), "x");
  EXPECT_EQ(files.ShortPathName(e2e::Join(folder, "missing.txt")), "");
  EXPECT_TRUE(e2e::SamePath(files.LongPathName(shortForm), file)) << files.LongPathName(shortForm);
  EXPECT_EQ(files.LongPathName(e2e::Join(folder, "missing.txt")), "");

  const std::string temp = files.TempPath();
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ(temp.back(), '\\');
  EXPECT_TRUE(e2e::FolderExists(temp));
  EXPECT_TRUE(e2e::FolderExists(files.WindowsDirectory()));
}

TEST(OsFilesTest, FoldersCopiesAndRestartDeletion) {
  os::win32::WinFiles files;
  const std::string folder = e2e::Join(e2e::ScratchFolder(), "sub");
  ASSERT_TRUE(files.CreateFolder(folder));
  EXPECT_FALSE(files.CreateFolder(folder));
  const std::string source = e2e::Join(folder, "a.txt");
  const std::string copy = e2e::Join(folder, "b.txt");
  ASSERT_TRUE(e2e::WriteFileBytes(source, "payload"));
  EXPECT_TRUE(files.CopyFileTo(source, copy, true));
  EXPECT_FALSE(files.CopyFileTo(source, copy, true));
  EXPECT_TRUE(files.CopyFileTo(source, copy, false));
  EXPECT_EQ(e2e::ReadFileBytes(copy), "payload");
  EXPECT_FALSE(files.RemoveFolder(folder));  // not empty
  EXPECT_TRUE(files.DeleteAtReboot(copy));
  bool scheduled = false;
  for (const std::string& pending : e2e::PendingRebootDeletions()) scheduled |= e2e::SamePath(pending, copy);
  EXPECT_TRUE(scheduled);
  EXPECT_TRUE(files.DeleteFileAt(source));
  EXPECT_TRUE(files.DeleteFileAt(copy));
  EXPECT_TRUE(files.RemoveFolder(folder));
}

TEST(OsRegistryTest, StringsKeepTheirTerminatorAndValuesOfAnySizeReadBack) {
  os::win32::WinRegistry registry;
  const std::string path = "Software\\ScrE2E\\Values";
  auto key = registry.CreateKey(os::RegRoot::kCurrentUser, path);
  ASSERT_NE(key, nullptr);
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", "default value"},
      {"FileName_", "C:\\Program Files\\Sky\\sky.scr"},
      {"empty", ""},
      {std::string(200, 'v'), std::string(100000, 'x')},
  };
  for (const auto& [name, value] : cases) {
    ASSERT_TRUE(key->SetString(name, value)) << name.size();
    const auto read = key->Query(name);
    ASSERT_TRUE(read) << name.size();
    EXPECT_EQ(read->type, os::kRegSz);
    EXPECT_EQ(read->data, value + std::string(1, '\0')) << name.size();
    EXPECT_EQ(e2e::ReadRegString(HKEY_CURRENT_USER, path, name), value);
  }
  auto names = key->ValueNames();
  ASSERT_TRUE(names);
  EXPECT_EQ(names->size(), cases.size());
  for (const auto& [name, value] : cases)
    EXPECT_NE(std::find(names->begin(), names->end(), name), names->end()) << name.size();
  EXPECT_EQ(key->Query("missing"), std::nullopt);
  EXPECT_TRUE(key->DeleteValue("FileName_"));
  EXPECT_FALSE(key->DeleteValue("FileName_"));
}

TEST(OsRegistryTest, KeysAreListedAndDeletedOnlyFromTheLeaves) {
  os::win32::WinRegistry registry;
  const std::string base = "Software\\ScrE2E\\Tree";
  const std::string longName(200, 'k');
  for (const std::string& name : {std::string("alpha"), longName})
    ASSERT_NE(registry.CreateKey(os::RegRoot::kCurrentUser, base + "\\" + name + "\\leaf"), nullptr);
  auto key = registry.OpenKey(os::RegRoot::kCurrentUser, base);
  ASSERT_NE(key, nullptr);
  ASSERT_EQ(key->SubkeyCount(), 2u);
  std::vector<std::string> listed;
  for (uint32_t i = 0; i < 2; ++i) listed.push_back(key->SubkeyName(i).value_or("?"));
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, (std::vector<std::string>{"alpha", longName}));
  EXPECT_EQ(key->SubkeyName(2), std::nullopt);

  EXPECT_FALSE(registry.DeleteKey(os::RegRoot::kCurrentUser, base + "\\alpha"));
  EXPECT_TRUE(registry.DeleteKey(os::RegRoot::kCurrentUser, base + "\\alpha\\leaf"));
  EXPECT_TRUE(registry.DeleteKey(os::RegRoot::kCurrentUser, base + "\\alpha"));
  EXPECT_FALSE(e2e::RegKeyExists(HKEY_CURRENT_USER, base + "\\alpha"));
  EXPECT_FALSE(registry.DeleteKey(os::RegRoot::kCurrentUser, ""));
  EXPECT_EQ(registry.OpenKey(os::RegRoot::kCurrentUser, base + "\\missing"), nullptr);
  EXPECT_NE(registry.CreateKey(os::RegRoot::kLocalMachine, "Software\\ScrE2E\\Machine"), nullptr);
}

TEST(OsShellTest, LinksAreWrittenAndReadBack) {
  os::win32::WinShell shell;
  const std::string folder = e2e::ScratchFolder();
  const std::string target = e2e::Join(folder, "sky saver.scr");
  ASSERT_TRUE(e2e::WriteFileBytes(target, "MZ"));
  const std::string linkPath = e2e::Join(folder, "Sky.lnk");
  EXPECT_EQ(shell.SaveLink(os::ShellLink{target, target, 0}, linkPath), 0);
  const auto link = e2e::ReadShellLink(linkPath);
  ASSERT_TRUE(link);
  EXPECT_TRUE(e2e::SamePath(link->target, target)) << link->target;
  EXPECT_TRUE(e2e::SamePath(link->iconPath, target)) << link->iconPath;
  EXPECT_EQ(link->iconIndex, 0);

  // A path that does not fit is refused, never cut into another file's name.
  const std::string tooLong = e2e::Join(folder, std::string(300, 'l') + ".lnk");
  EXPECT_NE(shell.SaveLink(os::ShellLink{target, target, 0}, tooLong), 0);
  EXPECT_NE(shell.SaveLink(os::ShellLink{target, target, 0}, e2e::Join(folder, "missing\\x.lnk")), 0);
}

TEST(OsShellTest, SpecialFoldersAndTheInstallVerb) {
  os::win32::WinShell shell;
  for (int csidl : {os::kCsidlDesktop, os::kCsidlPrograms, os::kCsidlProgramFiles}) {
    const auto folder = shell.SpecialFolder(0, csidl);
    ASSERT_TRUE(folder) << csidl;
    EXPECT_TRUE(e2e::FolderExists(*folder)) << csidl << " " << *folder;
  }
  const std::string saver = e2e::Join(e2e::ScratchFolder(), "verb test.scr");
  ASSERT_TRUE(e2e::WriteFileBytes(saver, "MZ"));
  EXPECT_GT(shell.Execute(0, "install", saver, "", "", os::kSwShowNormal), 32);
  std::vector<std::vector<std::string>> log;
  ASSERT_TRUE(e2e::WaitFor([&] { return !(log = e2e::InstallLog()).empty(); }));
  ASSERT_EQ(log.back().size(), 1u);
  EXPECT_TRUE(e2e::SamePath(log.back()[0], saver)) << log.back()[0];
}

// Runs `answer` on a second thread while this one is inside a modal call.
class Helper {
 public:
  explicit Helper(std::function<void()> answer) : thread_(std::move(answer)) {}
  ~Helper() { thread_.join(); }

 private:
  std::thread thread_;
};

HWND WaitForOwnDialog(const std::string& caption) {
  HWND found = nullptr;
  e2e::WaitFor([&] {
    for (HWND window : e2e::TopLevelWindows(GetCurrentProcessId()))
      if (e2e::ClassOf(window) == "#32770" && (caption.empty() || e2e::TextOf(window) == caption)) found = window;
    return found != nullptr;
  });
  return found;
}

TEST(OsSystemTest, MessageBoxesPassFlagsAndAnswers) {
  os::win32::WinSystem system;
  std::string seenText;
  int result = 0;
  {
    Helper helper([&] {
      HWND box = WaitForOwnDialog("Question");
      if (!box) return;
      if (auto info = e2e::ReadMessageBox(box)) {
        seenText = info->text;
        if (info->HasButton(IDYES) && info->HasButton(IDNO)) e2e::ClickButton(box, IDNO);
        else e2e::ClickButton(box, IDOK);
      }
    });
    result = system.ShowMessage(0, "Remove it?", "Question", os::kMbYesNo | os::kMbIconQuestion);
  }
  EXPECT_EQ(seenText, "Remove it?");
  EXPECT_EQ(result, os::kIdNo);

  const auto version = system.Version();
  ASSERT_TRUE(version);
  EXPECT_EQ(version->platformId, 2u);  // VER_PLATFORM_WIN32_NT
  EXPECT_GE(version->major, 5u);
  char own[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, own, sizeof(own));
  EXPECT_EQ(system.ModulePath(), own);
}

// Each object keeps the code of its own last failed call, as Windows gave it, and a call that
// succeeds afterwards leaves it.
TEST(OsFailureTest, FailedCallsKeepTheSystemsCode) {
  os::win32::WinOs winOs;
  os::Os os = winOs.Os();
  const std::string folder = e2e::ScratchFolder();
  const std::string held = e2e::Join(folder, "held.bin");
  ASSERT_TRUE(e2e::WriteFileBytes(held, "x"));
  const std::string smallDrive = e2e::Env("SCR_E2E_SMALL_DRIVE");
  struct Case {
    const char* name;
    std::function<const os::FailureSource*()> fail;  // the object whose call failed, or null
    os::ErrorCode code;
  };
  std::unique_ptr<os::File> holder, full;
  const Case cases[] = {
      {"open a missing file", [&] { return os.files.Open(e2e::Join(folder, "none"), OpenMode::kReadShareRead) ? nullptr : &os.files; }, ERROR_FILE_NOT_FOUND},
      {"create in a missing folder", [&] { return os.files.Open(e2e::Join(folder, "no\\x"), OpenMode::kCreateNew) ? nullptr : &os.files; }, ERROR_PATH_NOT_FOUND},
      {"delete a file held open", [&] {
         holder = os.files.Open(held, OpenMode::kReadShareAll);
         return holder && !os.files.DeleteFileAt(held) ? &os.files : nullptr; }, ERROR_SHARING_VIOLATION},
      {"create a folder that exists", [&] { return os.files.CreateFolder(folder) ? nullptr : &os.files; }, ERROR_ALREADY_EXISTS},
      {"open a missing key", [&] { return os.registry.OpenKey(os::RegRoot::kCurrentUser, "Software\\ScrE2E\\None") ? nullptr : &os.registry; }, ERROR_FILE_NOT_FOUND},
      {"write on a full disk", [&]() -> const os::FailureSource* {
         full = os.files.Open(smallDrive + "\\full.bin", OpenMode::kCreateAlways);
         const std::string block(256 * 1024, 'f');
         uint32_t written = 0;
         for (int i = 0; full && i < 16; ++i)
           if (!full->Write(block.data(), uint32_t(block.size()), written)) return full.get();
         return nullptr; }, ERROR_DISK_FULL},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (std::string(c.name) == "write on a full disk" && smallDrive.empty()) {
      std::printf("'%s' skipped: no small drive: %s\n", c.name, e2e::Env("SCR_E2E_SMALL_DRIVE_SKIP").c_str());
      continue;
    }
    const os::FailureSource* failed = c.fail();
    ASSERT_NE(failed, nullptr) << "the call did not fail";
    EXPECT_EQ(failed->LastError(), c.code) << os.system.ErrorText(failed->LastError());
  }
  full.reset();
  if (!smallDrive.empty()) DeleteFileA((smallDrive + "\\full.bin").c_str());
  EXPECT_TRUE(os.files.FileExists(held));
  EXPECT_EQ(os.files.LastError(), os::ErrorCode{ERROR_ALREADY_EXISTS}) << "a success leaves the code";

  const std::string text = os.system.ErrorText(ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(text.empty());
  EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << text;
  EXPECT_NE(text.back(), '.') << text;
  EXPECT_FALSE(os.system.UserName().empty());
  EXPECT_TRUE(os.system.RunsElevated().has_value());
  EXPECT_GE(os.system.Now().year, 2024);

  // Releasing a handle keeps the code of the call that failed before it; null holds nothing.
  {
    os::win32::UniqueHandle event(CreateEventA(nullptr, FALSE, FALSE, nullptr));
    SetLastError(ERROR_DISK_FULL);
  }
  EXPECT_EQ(GetLastError(), DWORD{ERROR_DISK_FULL});
  EXPECT_FALSE(os::win32::UniqueFile(nullptr).Valid());
}

struct Owner {
  HWND window = nullptr;
  Owner(const char* caption) {
    window = CreateWindowExA(0, "STATIC", caption, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  ~Owner() { DestroyWindow(window); }
};

// Text of the tree item the folder dialog has selected; the helper runs in our process, so the
// tree view's item text can be read straight into a local buffer.
std::string SelectedFolderName(HWND dialog) {
  HWND tree = FindWindowExA(dialog, nullptr, WC_TREEVIEWA, nullptr);
  if (!tree) return {};
  HTREEITEM item = TreeView_GetSelection(tree);
  if (!item) return {};
  char text[MAX_PATH] = {};
  TVITEMA tv{};
  tv.mask = TVIF_TEXT;
  tv.hItem = item;
  tv.pszText = text;
  tv.cchTextMax = MAX_PATH;
  return SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv)) ? text : std::string();
}

struct BrowseCase {
  const char* name;
  bool startExists;
  int button;
};

TEST(OsShellTest, FolderDialogOpensAtTheStartFolderCentredAndModal) {
  const std::vector<BrowseCase> cases = {
      {"ok at the start folder", true, IDOK},
      {"cancel", true, IDCANCEL},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    os::win32::WinShell shell;
    const std::string start = "C:\\browse test\\Start Here";
    ASSERT_TRUE(e2e::MakeFolderForTheFolderDialog(start)) << start;
    Owner owner("owner"), other("other");
    bool otherDisabledMeanwhile = false, centred = false, okEnabled = false;
    std::optional<std::string> chosen;
    {
      Helper helper([&] {
        HWND dialog = WaitForOwnDialog("");
        if (!dialog) return;
        HWND ok = e2e::ChildById(dialog, IDOK);
        // The selection arrives from the dialog's own initialisation, after the tree is filled:
        // wait until it stands on the start folder and OK is offered for it.
        okEnabled = e2e::WaitFor(
            [&] { return SelectedFolderName(dialog) == "Start Here" && ok && IsWindowEnabled(ok); }, 20000);
        otherDisabledMeanwhile = !IsWindowEnabled(other.window);
        RECT rect{};
        GetWindowRect(dialog, &rect);
        RECT work{};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        const int dx = (rect.left + rect.right) / 2 - (work.left + work.right) / 2;
        const int dy = (rect.top + rect.bottom) / 2 - (work.top + work.bottom) / 2;
        centred = std::abs(dx) <= 2 && std::abs(dy) <= 2;
        e2e::ClickButton(dialog, c.button);
      });
      chosen = shell.BrowseForFolder(reinterpret_cast<os::WindowRef>(owner.window), "Pick a folder", start);
    }
    EXPECT_TRUE(okEnabled);
    EXPECT_TRUE(otherDisabledMeanwhile);
    EXPECT_TRUE(centred);
    EXPECT_TRUE(IsWindowEnabled(other.window));
    EXPECT_TRUE(IsWindowEnabled(owner.window));
    if (c.button == IDOK) {
      ASSERT_TRUE(chosen);
      EXPECT_TRUE(e2e::SamePath(*chosen, start)) << *chosen;
    } else {
      EXPECT_EQ(chosen, std::nullopt);
    }
  }
}

}  // namespace
