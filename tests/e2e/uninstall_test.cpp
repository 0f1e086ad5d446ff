// The real uninstaller under Wine: a setup file made here is installed silently, then the
// uninstaller it wrote is started, its question answered, and what is left on the machine read
// back. The temporary copy that deletes the uninstaller is watched through its file and its box.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <aclapi.h>
#include <sddl.h>

#include <algorithm>

#include "support/e2e_support.h"
#include "support/setup_file.h"

namespace {

using e2e::SpecialFolderPath;
using e2e::FolderEntries;
using e2e::ProcessesNamed;

using e2e::Join;
using e2e::Quote;
using e2e::kAppTitle;
using e2e::kUninstallRoot;
using e2e::kCopyName;

// A box captioned "Screensaver Setup" shown by the temporary copy, or none.
std::optional<e2e::MessageBoxInfo> GoodbyeBox() {
  HWND box = FindWindowA("#32770", kAppTitle);
  return box ? e2e::ReadMessageBox(box) : std::nullopt;
}

std::string TempFolder() {
  char temp[MAX_PATH + 1] = {};
  GetTempPathA(sizeof temp, temp);
  return temp;
}

// The folders the uninstaller made for its copies in the temporary folder, by name.
std::vector<std::string> RunFolders() {
  std::vector<std::string> folders;
  for (const std::string& name : FolderEntries(TempFolder()))
    if (name.rfind("ZUZOrilder-", 0) == 0 && e2e::FolderExists(Join(TempFolder(), name))) folders.push_back(name);
  return folders;
}

// The SIDs the folder's access list allows in, or nullopt when it cannot be read.
std::optional<std::vector<std::string>> AllowedSids(const std::string& folder) {
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetNamedSecurityInfoA(folder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                            nullptr, &descriptor) != ERROR_SUCCESS)
    return std::nullopt;
  std::optional<std::vector<std::string>> sids;
  if (dacl) {
    sids.emplace();
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
      void* ace = nullptr;
      if (!GetAce(dacl, i, &ace) || static_cast<ACE_HEADER*>(ace)->AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
      char* text = nullptr;
      if (ConvertSidToStringSidA(&static_cast<ACCESS_ALLOWED_ACE*>(ace)->SidStart, &text)) {
        sids->push_back(text);
        LocalFree(text);
      }
    }
  }
  LocalFree(descriptor);
  return sids;
}

std::string CurrentUserSid() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
  std::vector<BYTE> buffer(512);
  DWORD size = 0;
  std::string sid;
  char* text = nullptr;
  if (GetTokenInformation(token, TokenUser, buffer.data(), static_cast<DWORD>(buffer.size()), &size) &&
      ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text)) {
    sid = text;
    LocalFree(text);
  }
  CloseHandle(token);
  return sid;
}

struct Flags : support::Flags {
  bool readme = true;
};

struct Installation {
  std::string title;
  std::string folder;  // without trailing backslash
  std::string saver, uninstaller, readme;
};

class Uninstall : public ::testing::Test {
 protected:
  ~Uninstall() override {
    // The copy ends by itself once its box is answered; one left over from a failure goes here.
    e2e::KillProcessesNamed(kCopyName);
  }

  // A setup file for `title` that installs `image` as e2estars.scr.
  // No program: Wine's shell would start a real one itself instead of using the "install" verb,
  // and the running screen saver would keep the uninstaller from deleting its file.
  std::string MakeSetup(const std::string& title, Flags flags, const std::string& image = "Stand-in screen saver",
                        const std::string& name = "setup.exe") {
    support::SetupContents c;
    c.image = image;
    if (flags.readme) c.readme = "Thank you for trying " + title + ".\r\nEnjoy.";
    c.record.SetScreensaverFileName("e2estars.scr");
    c.record.SetTitle(title);
    support::SetFlags(c.record, flags);
    return e2e::WriteSetupFile(scratch, name, e2e::SetupFileBytes(c));
  }

  Installation Install(const std::string& title, Flags flags = {}, const std::string& folder = {},
                       const std::string& image = "Stand-in screen saver") {
    const std::string setup = MakeSetup(title, flags, image);
    Installation installed{title, folder.empty() ? Join(scratch, "Saver Folder") : folder, "", "", ""};
    e2e::Process process = e2e::StartProcess(Quote(setup) + " -silent " + Quote(installed.folder));
    EXPECT_TRUE(process.Started());
    EXPECT_TRUE(process.WaitForExit()) << "silent installation did not end";
    EXPECT_EQ(process.ExitCode(), 0u);
    installed.saver = Join(installed.folder, "e2estars.scr");
    installed.uninstaller = Join(installed.folder, "uninstall e2estars.exe");
    installed.readme = Join(installed.folder, title + " Readme.txt");
    EXPECT_TRUE(e2e::FileExists(installed.saver));
    EXPECT_TRUE(e2e::FileExists(installed.uninstaller));
    return installed;
  }

  // Starts the uninstaller, checks its question, answers it and checks the exit code: 0 when all
  // is removed, 2 after No, 3 when something stays.
  e2e::Process RunAndAnswer(const std::string& commandLine, const std::string& title, int answer,
                            DWORD exitCode = 0) {
    e2e::Process process = e2e::StartProcess(commandLine);
    EXPECT_TRUE(process.Started());
    const auto box = e2e::WaitForMessageBox(process, title + " Uninstall");
    EXPECT_TRUE(box) << "no confirmation";
    if (!box) return process;
    EXPECT_EQ(box->text, "Are you sure you want to remove " + title + " and its components?");
    EXPECT_TRUE(box->HasButton(IDYES));
    EXPECT_TRUE(box->HasButton(IDNO));
    EXPECT_TRUE(box->hasIcon);
    EXPECT_TRUE(e2e::ClickButton(box->window, answer));
    EXPECT_TRUE(process.WaitForExit()) << "the uninstaller did not end";
    EXPECT_EQ(process.ExitCode(), answer == IDNO ? 2u : exitCode);
    return process;
  }

  // After Yes: the copy deletes the uninstaller once it has ended, then says goodbye.
  // `goodbye` is the text the copy's box should show (by default the title's success message).
  void ExpectSelfRemoval(const Installation& installed, std::optional<std::string> goodbye = std::nullopt) {
    const std::string expected =
        goodbye.value_or(installed.title + " has been successfully removed from your computer.");
    EXPECT_TRUE(e2e::WaitFor([&] { return !e2e::FileExists(installed.uninstaller); }))
        << "the uninstaller file is still there";
    std::optional<e2e::MessageBoxInfo> box;
    // The copy either shows its box or, with a message it cannot take apart, ends without one.
    EXPECT_TRUE(e2e::WaitFor([&] {
      box = GoodbyeBox();
      return box.has_value() || ProcessesNamed(kCopyName).empty();
    }));
    EXPECT_TRUE(box.has_value()) << "no goodbye";
    if (box) {
      EXPECT_EQ(box->text, expected);
      EXPECT_TRUE(box->HasButton(IDOK));
      EXPECT_TRUE(e2e::ClickButton(box->window, IDOK));
    }
    EXPECT_TRUE(e2e::WaitFor([] { return ProcessesNamed(kCopyName).empty(); })) << "the copy did not end";
  }

  // Settings as a screen saver keeps them under the key at `path`: a play list and string values.
  void SeedSaverSettings(const std::string& path, const std::vector<std::pair<std::string, std::string>>& values) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (path + "\\PlayList\\1").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    for (const auto& [name, value] : values)
      RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
  }

  std::string scratch = e2e::ScratchFolder();
  std::string desktop = SpecialFolderPath(CSIDL_DESKTOPDIRECTORY);
  std::string programs = SpecialFolderPath(CSIDL_PROGRAMS);
};

TEST_F(Uninstall, YesLeavesOnlyTheFolderAndTheKeyWithStartId) {
  const Installation installed = Install("E2E Uninst");
  const std::string group = Join(programs, installed.title);
  const std::string desktopLink = Join(desktop, "Preview " + installed.title + ".lnk");
  const std::string saverKey = "Software\\Somnivex\\" + installed.title;
  ASSERT_TRUE(e2e::FileExists(installed.readme));
  ASSERT_TRUE(e2e::FileExists(desktopLink));
  ASSERT_TRUE(e2e::FolderExists(group));
  ASSERT_TRUE(e2e::RegKeyExists(HKEY_LOCAL_MACHINE, kUninstallRoot + installed.title));
  ASSERT_TRUE(e2e::ReadRegString(HKEY_CURRENT_USER, saverKey, "FileName_"));
  ASSERT_NO_FATAL_FAILURE(SeedSaverSettings(saverKey, {{"StartID", "12"}, {"Speed", "fast"}}));

  const std::vector<std::string> foldersBefore = RunFolders();
  // The copy runs in the uninstaller's job, which lasts until the test ends.
  const e2e::Process uninstaller = RunAndAnswer(Quote(installed.uninstaller), installed.title, IDYES);
  ExpectSelfRemoval(installed);

  EXPECT_TRUE(e2e::FolderExists(installed.folder));
  EXPECT_EQ(FolderEntries(installed.folder), std::vector<std::string>{});
  EXPECT_EQ(e2e::RegValueNames(HKEY_CURRENT_USER, saverKey), std::vector<std::string>{"StartID"});
  EXPECT_EQ(e2e::RegSubkeyNames(HKEY_CURRENT_USER, saverKey), std::vector<std::string>{});
  EXPECT_FALSE(e2e::RegKeyExists(HKEY_LOCAL_MACHINE, kUninstallRoot + installed.title));
  EXPECT_FALSE(e2e::FileExists(desktopLink));
  EXPECT_FALSE(e2e::FolderExists(group));

  // The copy ran from a folder of its own, made fresh for this run and closed to other users;
  // it and its folder go at the next restart, the folder after the file in it.
  std::vector<std::string> fresh;
  for (const std::string& name : RunFolders())
    if (std::find(foldersBefore.begin(), foldersBefore.end(), name) == foldersBefore.end()) fresh.push_back(name);
  ASSERT_EQ(fresh.size(), 1u) << "one new folder for the copy";
  const std::string runFolder = Join(TempFolder(), fresh[0]);
  EXPECT_EQ(fresh[0].size(), std::string("ZUZOrilder-").size() + 16);
  EXPECT_EQ(FolderEntries(runFolder), std::vector<std::string>{kCopyName}) << "the copy waits for the next restart";
  EXPECT_FALSE(e2e::FileExists(Join(TempFolder(), kCopyName)));
  // Open to nobody but the user, Administrators and SYSTEM, unlike the temporary folder around it,
  // which everyone may read: that one lets in someone else, so the check can tell the two apart.
  // (Wine derives the list it reads back from the folder's Unix mode: it shows the user and SYSTEM.)
  const auto ours = [](const std::string& sid) {
    return sid == CurrentUserSid() || sid == "S-1-5-32-544" || sid == "S-1-5-18";
  };
  const auto allowed = AllowedSids(runFolder);
  ASSERT_TRUE(allowed);
  EXPECT_NE(std::find(allowed->begin(), allowed->end(), CurrentUserSid()), allowed->end());
  for (const std::string& sid : *allowed) EXPECT_TRUE(ours(sid)) << sid;
  const auto aroundIt = AllowedSids(TempFolder());
  ASSERT_TRUE(aroundIt);
  EXPECT_FALSE(std::all_of(aroundIt->begin(), aroundIt->end(), ours)) << "the temporary folder is closed too";
  const std::vector<std::string> pending = e2e::PendingRebootDeletions();
  const auto copyAt = std::find_if(pending.begin(), pending.end(),
                                   [&](const std::string& p) { return e2e::SamePath(p, Join(runFolder, kCopyName)); });
  const auto folderAt =
      std::find_if(pending.begin(), pending.end(), [&](const std::string& p) { return e2e::SamePath(p, runFolder); });
  EXPECT_NE(copyAt, pending.end());
  EXPECT_NE(folderAt, pending.end());
  EXPECT_LT(copyAt, folderAt);
}

TEST_F(Uninstall, StartedThroughTheUninstallStringNoLeavesEverything) {
  const Installation installed = Install("E2E Keep");
  const auto command = e2e::ReadRegString(HKEY_LOCAL_MACHINE, kUninstallRoot + installed.title, "UninstallString");
  ASSERT_TRUE(command);
  EXPECT_EQ(*command, Quote(installed.uninstaller));
  const auto before = FolderEntries(installed.folder);

  const e2e::Process process = RunAndAnswer(*command, installed.title, IDNO);
  EXPECT_TRUE(e2e::TopLevelWindows(process.Id()).empty());

  EXPECT_EQ(FolderEntries(installed.folder), before);
  EXPECT_TRUE(e2e::ReadRegString(HKEY_CURRENT_USER, "Software\\Somnivex\\" + installed.title, "FileName_"));
  EXPECT_TRUE(e2e::RegKeyExists(HKEY_LOCAL_MACHINE, kUninstallRoot + installed.title));
  EXPECT_TRUE(e2e::FileExists(Join(desktop, "Preview " + installed.title + ".lnk")));
  EXPECT_TRUE(e2e::FileExists(Join(Join(programs, installed.title), "Uninstall " + installed.title + ".lnk")));
  EXPECT_TRUE(ProcessesNamed(kCopyName).empty());
  EXPECT_FALSE(GoodbyeBox());
}

// What deployment tools and package managers run: no question, no box, not even the copy's
// goodbye; the exit code says whether everything went, and everything but the uninstaller's own
// file is gone by the time it returns.
TEST_F(Uninstall, TheQuietUninstallStringRemovesWithoutAnyBox) {
  for (const bool held : {false, true}) {
    SCOPED_TRACE(held ? "a screen saver held open" : "nothing held");
    const Installation installed = Install(held ? "E2E Quiet Held" : "E2E Quiet");
    const std::string group = Join(programs, installed.title);
    const auto command = e2e::ReadRegString(HKEY_LOCAL_MACHINE, kUninstallRoot + installed.title, "QuietUninstallString");
    ASSERT_TRUE(command);
    EXPECT_EQ(*command, Quote(installed.uninstaller) + " -silent -yes");
    os::win32::UniqueFile running;
    if (held)
      running.Reset(CreateFileA(installed.saver.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));

    const std::string log = Join(scratch, installed.title + ".log");
    e2e::Process process = e2e::StartProcess(*command + " -log " + Quote(log));
    ASSERT_TRUE(process.Started());
    EXPECT_TRUE(process.WaitForExit()) << "it waited for somebody";
    EXPECT_EQ(process.ExitCode(), held ? 3u : 0u);
    const std::string written = e2e::ReadFileBytes(log).value_or("");
    EXPECT_NE(written.find("Mode: unattended uninstaller"), std::string::npos) << written;
    EXPECT_NE(written.find(std::string("Registry key deleted: HKLM\\") + kUninstallRoot + installed.title), std::string::npos) << written;
    EXPECT_NE(written.find(held ? "Failed: delete the file: " + installed.saver + ": error 32 ("
                                : "File deleted: " + installed.saver),
              std::string::npos)
        << written;
    EXPECT_FALSE(e2e::RegKeyExists(HKEY_LOCAL_MACHINE, kUninstallRoot + installed.title));
    EXPECT_FALSE(e2e::ReadRegString(HKEY_CURRENT_USER, e2e::kSaverKeyRoot + installed.title, "FileName_"));
    EXPECT_FALSE(e2e::FileExists(installed.readme));
    EXPECT_FALSE(e2e::FolderExists(group));
    EXPECT_FALSE(e2e::FileExists(Join(desktop, "Preview " + installed.title + ".lnk")));
    EXPECT_EQ(e2e::FileExists(installed.saver), held);

    EXPECT_TRUE(e2e::WaitFor([&] { return !e2e::FileExists(installed.uninstaller); }));
    EXPECT_TRUE(e2e::WaitFor([] { return ProcessesNamed(kCopyName).empty(); })) << "the copy waits for somebody";
    EXPECT_FALSE(GoodbyeBox());
    const std::string whole = e2e::ReadFileBytes(log).value_or("");
    for (const std::string& line : {"Link removed: " + Join(desktop, "Preview " + installed.title + ".lnk"),
                                    std::string("Mode: file removal"), "File deleted: " + installed.uninstaller})
      EXPECT_NE(whole.find(line), std::string::npos) << line << "\n" << whole;
  }
}

TEST_F(Uninstall, SilentSwitchStillAsksAndAUsersFileKeepsTheGroup) {
  const Installation installed = Install("E2E Silent");
  const std::string group = Join(programs, installed.title);
  ASSERT_TRUE(e2e::WriteFileBytes(Join(group, "My notes.txt"), "mine"));

  const e2e::Process uninstaller = RunAndAnswer(Quote(installed.uninstaller) + " -silent", installed.title, IDYES);
  ExpectSelfRemoval(installed);

  EXPECT_EQ(FolderEntries(group), std::vector<std::string>{"My notes.txt"});
  EXPECT_FALSE(e2e::FileExists(installed.saver));
}

// The screen saver is still running (the shell's "install" started it) and holds its file: the
// uninstaller leaves it to the next restart, names it in the closing message and ends with 3.
TEST_F(Uninstall, ASaverInUseIsLeftToTheRestartAndNamed) {
  Flags flags;
  flags.readme = false;
  const Installation installed = Install("E2E In Use", flags);
  os::win32::UniqueFile running(CreateFileA(installed.saver.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(running);

  const e2e::Process uninstaller = RunAndAnswer(Quote(installed.uninstaller), installed.title, IDYES, 3);
  ExpectSelfRemoval(installed, installed.title +
                                   " has been removed from your computer, but some of its files could not be "
                                   "deleted.\n\nThese files will be deleted when Windows restarts:\n" +
                                   installed.saver);
  EXPECT_TRUE(e2e::FileExists(installed.saver));
  bool scheduled = false;
  for (const std::string& pending : e2e::PendingRebootDeletions()) scheduled = scheduled || e2e::SamePath(pending, installed.saver);
  EXPECT_TRUE(scheduled) << "the screen saver is not scheduled for deletion at restart";
  EXPECT_FALSE(e2e::RegKeyExists(HKEY_LOCAL_MACHINE, kUninstallRoot + installed.title)) << "the rest is removed";
}

// The maker's key holds the settings of all its screen savers. An empty title names no key of its
// own, so setup and the uninstaller both do their work without writing, reading or clearing it.
TEST_F(Uninstall, EmptyTitleNeverTouchesTheMakersSharedKey) {
  const std::string shared = "Software\\Somnivex";
  ASSERT_NO_FATAL_FAILURE(SeedSaverSettings(shared, {{"FileName_", "C:\\other.scr"}, {"Speed", "fast"}}));
  const auto valuesBefore = e2e::RegValueNames(HKEY_CURRENT_USER, shared);

  Flags flags;
  flags.entry = false;
  flags.group = false;
  const Installation installed = Install("", flags);
  EXPECT_EQ(e2e::ReadRegString(HKEY_CURRENT_USER, shared, "FileName_"), "C:\\other.scr");
  EXPECT_EQ(e2e::RegValueNames(HKEY_CURRENT_USER, shared), valuesBefore);

  const e2e::Process uninstaller = RunAndAnswer(Quote(installed.uninstaller), installed.title, IDYES);
  ExpectSelfRemoval(installed);

  EXPECT_FALSE(e2e::FileExists(installed.saver));
  EXPECT_FALSE(e2e::FileExists(installed.readme));
  EXPECT_EQ(e2e::ReadRegString(HKEY_CURRENT_USER, shared, "FileName_"), "C:\\other.scr");
  EXPECT_EQ(e2e::ReadRegString(HKEY_CURRENT_USER, shared, "Speed"), "fast");
  EXPECT_TRUE(e2e::RegKeyExists(HKEY_CURRENT_USER, shared + "\\PlayList\\1"));
}

TEST_F(Uninstall, TitleWithAQuoteStillDeletesTheUninstaller) {
  Flags flags;
  flags.readme = false;  // a quote cannot stand in a file name
  flags.group = false;
  flags.desktop = false;
  const Installation installed = Install("E2E \"Q\"", flags);
  ASSERT_TRUE(e2e::RegKeyExists(HKEY_LOCAL_MACHINE, kUninstallRoot + installed.title));

  const e2e::Process uninstaller = RunAndAnswer(Quote(installed.uninstaller), installed.title, IDYES);
  // The quotes inside the message merge with the ones around it and vanish; the path to delete
  // comes before them and is not touched.
  ExpectSelfRemoval(installed, "E2E Q has been successfully removed from your computer.");

  EXPECT_FALSE(e2e::FileExists(installed.saver));
  EXPECT_FALSE(e2e::RegKeyExists(HKEY_LOCAL_MACHINE, kUninstallRoot + installed.title));
}

bool HoldsAnything(const std::wstring& folder) {
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  bool any = false;
  do any |= wcscmp(found.cFileName, L".") != 0 && wcscmp(found.cFileName, L"..") != 0;
  while (!any && FindNextFileW(search, &found));
  FindClose(search);
  return any;
}

// Restores a value of HKCU's "User Shell Folders", where the shell finds the user's folders.
class ShellFolderValue {
 public:
  ShellFolderValue(const wchar_t* name, const std::wstring& path) : name_(name) {
    RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
    wchar_t old[MAX_PATH * 2] = {};
    DWORD size = sizeof old - sizeof(wchar_t);
    had_ = RegQueryValueExW(key_, name, nullptr, &type_, reinterpret_cast<BYTE*>(old), &size) == ERROR_SUCCESS;
    old_ = old;
    Set(REG_SZ, path);
  }
  ~ShellFolderValue() {
    if (had_) Set(type_, old_);
    else RegDeleteValueW(key_, name_);
    RegCloseKey(key_);
  }

 private:
  static constexpr wchar_t kKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
  void Set(DWORD type, const std::wstring& value) {
    RegSetValueExW(key_, name_, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  }
  const wchar_t* name_;
  HKEY key_ = nullptr;
  bool had_ = false;
  DWORD type_ = REG_SZ;
  std::wstring old_;
};

// Sets a variable of this process, which the programs it starts inherit, for the test's lifetime.
class EnvironmentValue {
 public:
  EnvironmentValue(const wchar_t* name, const std::wstring& value) : name_(name) {
    wchar_t old[32768] = {};
    had_ = GetEnvironmentVariableW(name, old, 32768) > 0;
    old_ = old;
    SetEnvironmentVariableW(name, value.c_str());
  }
  ~EnvironmentValue() { SetEnvironmentVariableW(name_, had_ ? old_.c_str() : nullptr); }

 private:
  const wchar_t* name_;
  bool had_ = false;
  std::wstring old_;
};

// A user whose name, and so whose Desktop, Start menu and temporary folder, the Western code page
// of this system cannot hold ("Χρήστης", a temporary folder "Τεμπ"): the ANSI calls would give
// paths full of '?'.
TEST_F(Uninstall, UserNamedOutsideTheCodePageGetsLinksAndALastGoodbye) {
  const std::wstring profile = L"C:\\users\\\x03A7\x03C1\x03AE\x03C3\x03C4\x03B7\x03C2";
  const std::wstring desktopW = profile + L"\\Desktop";
  const std::wstring programsW = profile + L"\\Start Menu\\Programs";
  const std::wstring tempW = L"C:\\\x03A4\x03B5\x03BC\x03C0";
  ASSERT_TRUE(e2e::OutsideTheCodePage(profile));
  ASSERT_TRUE(e2e::OutsideTheCodePage(tempW));
  ASSERT_TRUE(e2e::MakeFoldersW(desktopW));
  ASSERT_TRUE(e2e::MakeFoldersW(programsW));
  ASSERT_TRUE(e2e::MakeFoldersW(tempW));
  const ShellFolderValue desktopValue(L"Desktop", desktopW), programsValue(L"Programs", programsW);
  const EnvironmentValue tempValue(L"TEMP", tempW), tmpValue(L"TMP", tempW);

  const Installation installed = Install("E2E Greek");
  const std::wstring title = e2e::Widen(installed.title);
  const std::wstring desktopLink = desktopW + L"\\Preview " + title + L".lnk";
  const std::wstring group = programsW + L"\\" + title;
  EXPECT_TRUE(e2e::ExistsW(desktopLink));
  for (const std::wstring& name : {L"Preview " + title, std::wstring(L"Readme"), L"Uninstall " + title})
    EXPECT_TRUE(e2e::ExistsW(group + L"\\" + name + L".lnk"));

  const e2e::Process uninstaller = RunAndAnswer(Quote(installed.uninstaller), installed.title, IDYES);
  ExpectSelfRemoval(installed);
  EXPECT_FALSE(e2e::ExistsW(desktopLink));
  EXPECT_FALSE(e2e::ExistsW(group));
  EXPECT_TRUE(HoldsAnything(tempW)) << "no copy was made in the user's temporary folder";
}

// Starts `setup` unattended into `folder` and ends it hard while it writes the new screen saver,
// as Task Manager, a power cut or a deployment tool's time-out would.
void EndHardDuringTheCopy(const std::string& setup, const std::string& folder) {
  e2e::Process process = e2e::StartProcess(Quote(setup) + " -silent " + Quote(folder));
  ASSERT_TRUE(process.Started());
  const std::string staging = Join(folder, "e2estars.scr.scrsetup-new");
  // Its size, read without opening it: setup shares it with nobody while it writes.
  const auto written = [&] {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    return GetFileAttributesExA(staging.c_str(), GetFileExInfoStandard, &data) && data.nFileSizeLow > 0;
  };
  ASSERT_TRUE(e2e::WaitFor(written, 60000));
  process.Kill();
  ASSERT_FALSE(process.Running());
}

// An upgrade that runs out of disk space, during the image copy or after it, or that is ended hard
// during its copy, leaves the working installation as it was, byte for byte, and its own
// uninstaller still removes it. What the cut-off one left, the next run and the uninstaller clear
// away, so that nothing of ours stays in the folder.
TEST_F(Uninstall, AFailedReinstallationKeepsTheEarlierFilesForTheirUninstaller) {
  const std::string drive = e2e::Env("SCR_E2E_SMALL_DRIVE");
  struct Case {
    const char* name;
    std::string folder;  // empty: on the small drive
    std::size_t newImage;
    bool endedHard;
  };
  const Case cases[] = {
      {"disk full during the copy", "", 900000, false},
      {"disk full after the copy", "", 400000, false},
      {"ended hard during the copy", Join(scratch, "Ended"), std::size_t{96} << 20, true},
  };
  const Flags flags;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.folder.empty() && drive.empty()) {
      std::printf("'%s' skipped: no small drive: %s\n", c.name, e2e::Env("SCR_E2E_SMALL_DRIVE_SKIP").c_str());
      continue;
    }
    const std::string folder = c.folder.empty() ? drive + "\\Again" : c.folder;
    const Installation installed = Install("E2E Full", flags, folder, std::string(300000, 'S'));
    const std::vector<std::string> entries = FolderEntries(installed.folder);
    const std::vector<std::string> paths = {installed.saver, installed.uninstaller, installed.readme};
    std::vector<std::optional<std::string>> bytes;
    for (const std::string& path : paths) bytes.push_back(e2e::ReadFileBytes(path));

    const std::string again = MakeSetup("E2E Full", flags, std::string(c.newImage, 'T'), "setup again.exe");
    if (c.endedHard) {
      EndHardDuringTheCopy(again, installed.folder);
    } else {
      EXPECT_EQ(e2e::RunSilent(again, installed.folder), 3u);
      EXPECT_EQ(FolderEntries(installed.folder), entries);
    }
    for (std::size_t i = 0; i < paths.size(); ++i) EXPECT_EQ(e2e::ReadFileBytes(paths[i]), bytes[i]) << paths[i];
    EXPECT_EQ(e2e::ReadRegString(HKEY_LOCAL_MACHINE, kUninstallRoot + installed.title, "UninstallString"),
              Quote(installed.uninstaller));
    if (c.endedHard) {
      // The same setup again clears the cut-off copy away and installs; cut off once more, it
      // leaves the uninstaller another copy to clear away.
      EXPECT_EQ(e2e::RunSilent(again, installed.folder), 0u);
      EXPECT_EQ(FolderEntries(installed.folder), entries);
      EndHardDuringTheCopy(again, installed.folder);
    }

    RunAndAnswer(Quote(installed.uninstaller), installed.title, IDYES);
    ExpectSelfRemoval(installed);
    EXPECT_EQ(FolderEntries(installed.folder), std::vector<std::string>{}) << "nothing of ours stays";
    RemoveDirectoryA(installed.folder.c_str());
  }
}

// A screen saver that is running holds its file: a reinstallation stops before it copies
// anything, and every file stays as it was.
TEST_F(Uninstall, AHeldTargetStopsTheReinstallationBeforeAnythingChanges) {
  const Installation installed = Install("E2E Held");
  const std::vector<std::string> entries = FolderEntries(installed.folder);
  const auto bytes = e2e::ReadFileBytes(installed.saver);
  HANDLE held = CreateFileA(installed.saver.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(e2e::RunSilent(MakeSetup("E2E Held", Flags{}, "A newer screen saver", "setup again.exe"), installed.folder),
            2u);
  CloseHandle(held);
  EXPECT_EQ(FolderEntries(installed.folder), entries);
  EXPECT_EQ(e2e::ReadFileBytes(installed.saver), bytes);
}

// Sets the record as any program the user runs may: a string, or a number when `value` is none.
void PlantRecord(const std::string& title, const std::optional<std::string>& value) {
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, (e2e::kSaverKeyRoot + title).c_str(), 0, KEY_SET_VALUE, &key),
            ERROR_SUCCESS);
  const DWORD number = 1;
  if (value)
    RegSetValueExA(key, "FileName_", 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()),
                   static_cast<DWORD>(value->size() + 1));
  else
    RegSetValueExA(key, "FileName_", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
  RegCloseKey(key);
}

// The record is the user's to change: a path planted in it deletes nothing but our screen saver,
// and a reinstallation writes over nothing it names. Not a file outside the installation folder,
// spelt plainly or with slashes behind the folder's last backslash, nor another file inside it,
// in a folder of our own or in the system folder (named as setup recorded it: SysWOW64 for the
// 32-bit stub on 64-bit Windows). A record of another type is no record: the saver still goes.
TEST_F(Uninstall, APlantedRecordedPathDeletesAndOverwritesNothingButOurSaver) {
  const std::string victim = Join(scratch, "Victim");
  ASSERT_TRUE(CreateDirectoryA(victim.c_str(), nullptr));
  const std::string important = Join(victim, "important.dll");
  const std::string folder = Join(scratch, "Saver Folder");
  char system[MAX_PATH + 1] = {};
  ASSERT_GT(GetSystemDirectoryA(system, sizeof system), 0u);
  struct Case {
    std::string folder;
    // Given the folder as setup recorded it (with its backslash): what is planted, and which file
    // that names; no value: a number.
    std::function<std::optional<std::string>(const std::string&)> value;
    std::function<std::string(const std::string&)> file;
    bool reinstall;  // the file is in the folder: a reinstallation must not write over it
  };
  const auto outside = [&](const std::string&) { return important; };
  const auto precious = [](const std::string& recorded) { return recorded + "precious.dll"; };
  const Case cases[] = {
      {folder, [&](const std::string&) { return important; }, outside, false},
      {folder, [&](const std::string&) { return folder + "\\../Victim/important.dll"; }, outside, false},
      {folder, precious, precious, true},
      {system, precious, precious, true},
      {folder, [](const std::string&) { return std::nullopt; }, precious, true},
  };
  for (const Case& c : cases) {
    const Installation installed = Install("E2E Planted", {}, c.folder);
    const auto recorded = e2e::ReadRegString(HKEY_CURRENT_USER, e2e::kSaverKeyRoot + installed.title, "FileName_");
    ASSERT_TRUE(recorded);
    const std::string recordedFolder = recorded->substr(0, recorded->rfind('\\') + 1);
    const std::optional<std::string> value = c.value(recordedFolder);
    const std::string file = c.file(recordedFolder);
    SCOPED_TRACE(value.value_or("(a number)"));
    ASSERT_TRUE(e2e::WriteFileBytes(file, "another program's file"));
    PlantRecord(installed.title, value);
    if (c.reinstall) {
      // Not our record, so our screen saver's name counts as taken by somebody else's file.
      EXPECT_EQ(e2e::RunSilent(MakeSetup(installed.title, Flags{}, "A newer screen saver", "setup again.exe"),
                               c.folder),
                0u);
      EXPECT_EQ(e2e::ReadFileBytes(file), "another program's file");
      EXPECT_FALSE(e2e::FileExists(recordedFolder + "uninstall precious.exe"));
      EXPECT_EQ(e2e::ReadFileBytes(recordedFolder + "e2estar1.scr"), "A newer screen saver");
      DeleteFileA((recordedFolder + "e2estar1.scr").c_str());
      DeleteFileA((recordedFolder + "uninstall e2estar1.exe").c_str());
      PlantRecord(installed.title, value);
    }
    RunAndAnswer(Quote(installed.uninstaller), installed.title, IDYES);
    ExpectSelfRemoval(installed);
    EXPECT_EQ(e2e::ReadFileBytes(file), "another program's file");
    EXPECT_FALSE(e2e::FileExists(installed.saver));
    DeleteFileA(file.c_str());
  }
}

// Setup kept the user's own e2estars.scr and installed e2estar1.scr: its uninstaller removes
// e2estar1.scr by its own name, and never the user's file, even once the record is gone.
TEST_F(Uninstall, TheUninstallerOfANumberedNameKeepsTheFileSetupKept) {
  const std::string folder = Join(scratch, "Kept");
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  ASSERT_TRUE(e2e::WriteFileBytes(Join(folder, "e2estars.scr"), "the user's own"));
  const Installation installed{"E2E Kept", folder, Join(folder, "e2estar1.scr"), Join(folder, "uninstall e2estar1.exe"),
                                Join(folder, "E2E Kept Readme.txt")};
  ASSERT_EQ(e2e::RunSilent(MakeSetup(installed.title, Flags{}), folder), 0u);
  ASSERT_TRUE(e2e::FileExists(installed.saver));
  ASSERT_TRUE(e2e::FileExists(installed.uninstaller));
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, (e2e::kSaverKeyRoot + installed.title).c_str(), 0, KEY_SET_VALUE, &key),
            ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteValueA(key, "FileName_"), ERROR_SUCCESS);
  RegCloseKey(key);
  RunAndAnswer(Quote(installed.uninstaller), installed.title, IDYES);
  ExpectSelfRemoval(installed);
  EXPECT_FALSE(e2e::FileExists(installed.saver));
  EXPECT_EQ(e2e::ReadFileBytes(Join(folder, "e2estars.scr")), "the user's own");
}

// The machine as a 64-bit program (Explorer, the list of programs, the Screen Saver settings) sees
// it: native_view.exe beside this program is always a 64-bit one.
std::string NativeView(const std::string& arguments) {
  char self[MAX_PATH + 1] = {};
  const std::string path(self, GetModuleFileNameA(nullptr, self, MAX_PATH));
  return Quote(path.substr(0, path.rfind('\\') + 1) + "native_view.exe") + " " + arguments;
}

std::string Unquoted(const std::string& text) {
  return text.size() >= 2 && text.front() == '"' && text.back() == '"' ? text.substr(1, text.size() - 2) : text;
}

// How many of `paths` name no file for a 64-bit program; nullopt when it did not run.
std::optional<DWORD> MissingForNativePrograms(const std::vector<std::string>& paths) {
  std::string arguments = "exists";
  for (const std::string& path : paths) arguments += " " + Quote(path);
  e2e::Process process = e2e::StartProcess(NativeView(arguments));
  if (!process.Started() || !process.WaitForExit()) return std::nullopt;
  return process.ExitCode();
}

// Installed into the system folder, where the 32-bit stub's writes go to SysWOW64 on 64-bit
// Windows: every path written down names a file that a 64-bit program finds, and the uninstaller
// started from its entry that way removes everything.
TEST_F(Uninstall, InTheSystemFolderEveryPathNamesTheFileWhereItReallyIs) {
  char system[MAX_PATH + 1] = {};
  ASSERT_GT(GetSystemDirectoryA(system, sizeof system), 0u);
  const std::size_t earlierVerbs = e2e::InstallLog().size();
  Installation installed = Install("E2E System", Flags{}, system);
  const std::string root = kUninstallRoot + installed.title;
  const auto recorded = e2e::ReadRegString(HKEY_CURRENT_USER, e2e::kSaverKeyRoot + installed.title, "FileName_");
  const auto uninstallString = e2e::ReadRegString(HKEY_LOCAL_MACHINE, root, "UninstallString");
  const auto icon = e2e::ReadRegString(HKEY_LOCAL_MACHINE, root, "DisplayIcon");
  ASSERT_TRUE(recorded && uninstallString && icon);
  const auto desktopLink = e2e::ReadShellLink(Join(desktop, "Preview " + installed.title + ".lnk"));
  const auto groupLink = e2e::ReadShellLink(Join(programs, installed.title + "\\Uninstall " + installed.title + ".lnk"));
  ASSERT_TRUE(desktopLink && groupLink);
  std::vector<std::string> handedToShell;
  EXPECT_TRUE(e2e::WaitFor([&] {
    const auto log = e2e::InstallLog();
    for (std::size_t i = earlierVerbs; i < log.size(); ++i)
      if (log[i].size() == 1) handedToShell.push_back(log[i][0]);
    return !handedToShell.empty();
  }));
  installed.uninstaller = Unquoted(*uninstallString);
  const std::string readme = recorded->substr(0, recorded->rfind('\\') + 1) + installed.title + " Readme.txt";
  std::vector<std::string> paths = {*recorded, readme, installed.uninstaller, *icon, desktopLink->target,
                                    groupLink->target};
  paths.insert(paths.end(), handedToShell.begin(), handedToShell.end());
  EXPECT_EQ(MissingForNativePrograms(paths), 0u) << "a path names no file for a 64-bit program (its log says which)";

  // The list of programs starts the uninstaller from its entry; it asks, is answered Yes and ends.
  e2e::Process native = e2e::StartProcess(NativeView("uninstall " + Quote(installed.title)));
  ASSERT_TRUE(native.Started());
  EXPECT_TRUE(native.WaitForExit()) << "the uninstaller started from its entry did not end";
  EXPECT_EQ(native.ExitCode(), 0u);
  ExpectSelfRemoval(installed);
  EXPECT_EQ(MissingForNativePrograms({*recorded, readme, installed.uninstaller}), 3u);
  EXPECT_FALSE(e2e::RegKeyExists(HKEY_LOCAL_MACHINE, root));
  EXPECT_FALSE(e2e::FileExists(Join(desktop, "Preview " + installed.title + ".lnk")));
  EXPECT_FALSE(e2e::FolderExists(Join(programs, installed.title)));
  EXPECT_FALSE(e2e::ReadRegString(HKEY_CURRENT_USER, e2e::kSaverKeyRoot + installed.title, "FileName_"));
}

}  // namespace
