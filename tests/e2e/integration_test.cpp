// The integration functions against the real registry, file system and shell link object under
// Wine: everything written is read back with the plain Win32 API, not through our own code.
#include <gtest/gtest.h>
#include <shlobj.h>

#include "integration/integration_errors.h"
#include "integration/saver_registry.h"
#include "integration/shell_link.h"
#include "integration/shortcuts.h"
#include "integration/uninstall_entry.h"
#include "language/translation.h"
#include "os/win32/win_os.h"
#include "support/e2e_support.h"

#include <utility>

namespace {

using e2e::SpecialFolderPath;

constexpr char kUninstall[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

std::string UninstallKey(const std::string& title) { return std::string(kUninstall) + "\\" + title; }
std::string SaverKey(const std::string& title) { return "Software\\Somnivex\\" + title; }

void SetRaw(HKEY root, const std::string& path, const std::string& name, DWORD type, const std::string& data) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                           static_cast<DWORD>(data.size())),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

// Files of a folder whose names match the wildcard pattern (a name holding "?" is not a valid
// path to ask about directly).
int CountMatching(const std::string& folder, const std::string& pattern) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(e2e::Join(folder, pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int count = 0;
  do {
    ++count;
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return count;
}

class Integration : public ::testing::Test {
 protected:
  Integration() { language::FreeTranslation(); }
  ~Integration() override { language::FreeTranslation(); }

  // A real file for the shortcuts to point at.
  std::string MakeFile(const std::string& name) {
    const std::string path = e2e::Join(folder, name);
    EXPECT_TRUE(e2e::WriteFileBytes(path, "MZ"));
    return path;
  }

  void ExpectLink(const std::string& linkPath, const std::string& target) {
    const auto link = e2e::ReadShellLink(linkPath);
    ASSERT_TRUE(link) << "no readable link at " << linkPath;
    EXPECT_TRUE(e2e::SamePath(link->target, target)) << link->target << " vs " << target;
    EXPECT_TRUE(e2e::SamePath(link->iconPath, target)) << link->iconPath;
    EXPECT_EQ(link->iconIndex, 0);
  }

  os::win32::WinOs winOs;
  os::Os os{winOs.Os()};
  std::string folder = e2e::ScratchFolder();
  std::string desktop = SpecialFolderPath(CSIDL_DESKTOPDIRECTORY);
  std::string programs = SpecialFolderPath(CSIDL_PROGRAMS);
};

TEST_F(Integration, InstalledPathIsStoredReadAndCleared) {
  const std::string title = "E2E Record";
  const std::string key = SaverKey(title);
  integration::StoreInstalledPath(os.registry, title, "C:\\Savers\\stars.scr");
  EXPECT_EQ(e2e::ReadRegString(HKEY_CURRENT_USER, key, "FileName_"), "C:\\Savers\\stars.scr");
  EXPECT_EQ(integration::ReadInstalledPath(os.registry, title), "C:\\Savers\\stars.scr");

  SetRaw(HKEY_CURRENT_USER, key, "StartID", REG_SZ, std::string("42\0", 3));
  SetRaw(HKEY_CURRENT_USER, key, "Speed", REG_DWORD, std::string("\5\0\0\0", 4));
  SetRaw(HKEY_CURRENT_USER, key + "\\PlayList\\1\\Deeper", "x", REG_SZ, std::string("y\0", 2));
  SetRaw(HKEY_CURRENT_USER, key + "\\PlayList\\2", "x", REG_SZ, std::string("y\0", 2));
  SetRaw(HKEY_CURRENT_USER, key + "\\Colors", "Red", REG_SZ, std::string("1\0", 2));

  integration::ClearSaverSettings(os.registry, title);

  EXPECT_EQ(e2e::RegValueNames(HKEY_CURRENT_USER, key), std::vector<std::string>{"StartID"});
  EXPECT_EQ(e2e::ReadRegString(HKEY_CURRENT_USER, key, "StartID"), "42");
  EXPECT_EQ(e2e::RegSubkeyNames(HKEY_CURRENT_USER, key), std::vector<std::string>{"Colors"});
  EXPECT_EQ(integration::ReadInstalledPath(os.registry, title), "");
}

TEST_F(Integration, RecordReadingHonoursTheValueType) {
  const std::string title = "E2E Types";
  EXPECT_EQ(integration::ReadInstalledPath(os.registry, title), "");
  EXPECT_FALSE(e2e::RegKeyExists(HKEY_CURRENT_USER, SaverKey(title))) << "reading must create nothing";

  SetRaw(HKEY_CURRENT_USER, SaverKey(title), "FileName_", REG_EXPAND_SZ, std::string("%WINDIR%\\a.scr\0", 15));
  EXPECT_EQ(integration::ReadInstalledPath(os.registry, title), "%WINDIR%\\a.scr");
  SetRaw(HKEY_CURRENT_USER, SaverKey(title), "FileName_", REG_DWORD, std::string("\1\0\0\0", 4));
  EXPECT_EQ(integration::ReadInstalledPath(os.registry, title), "") << "a number is no record of ours";
}

TEST_F(Integration, UninstallEntryHoldsItsValuesAndIsReplaced) {
  const std::string title = "E2E Stars";
  const std::string uninstaller = MakeFile("uninstall e2e stars.exe");
  integration::EntryDetails earlier;
  earlier.publisher = "Old Works";
  earlier.link = "http://old.example.org/";
  integration::RegisterUninstallEntry(os.registry, title, "C:\\old.exe", earlier);
  integration::EntryDetails details;
  details.version = "2.0";
  details.installLocation = "C:\\Savers\\";
  details.estimatedSizeKb = 12;
  integration::RegisterUninstallEntry(os.registry, title, uninstaller, details);
  const std::string key = UninstallKey(title);
  EXPECT_EQ(e2e::ReadRegString(HKEY_LOCAL_MACHINE, key, "DisplayName"), title);
  EXPECT_EQ(e2e::ReadRegString(HKEY_LOCAL_MACHINE, key, "UninstallString"), "\"" + uninstaller + "\"");
  EXPECT_NE(uninstaller.find(' '), std::string::npos) << "the long form, blanks and all";
  auto names = e2e::RegValueNames(HKEY_LOCAL_MACHINE, key);
  std::sort(names.begin(), names.end());
  // The earlier version's publisher and web address are gone with it.
  EXPECT_EQ(names, (std::vector<std::string>{"DisplayIcon", "DisplayName", "DisplayVersion", "EstimatedSize",
                                             "InstallLocation", "NoModify", "NoRepair", "QuietUninstallString",
                                             "UninstallString"}));
  EXPECT_EQ(e2e::ReadRegString(HKEY_LOCAL_MACHINE, key, "QuietUninstallString"), "\"" + uninstaller + "\" -silent -yes");
  EXPECT_EQ(e2e::ReadRegString(HKEY_LOCAL_MACHINE, key, "DisplayIcon"), uninstaller);
  EXPECT_EQ(e2e::ReadRegString(HKEY_LOCAL_MACHINE, key, "DisplayVersion"), "2.0");
  for (const auto& [name, expected] : {std::pair<const char*, DWORD>{"NoModify", 1}, {"NoRepair", 1}, {"EstimatedSize", 12}}) {
    DWORD value = 0, size = sizeof value;
    EXPECT_EQ(RegGetValueA(HKEY_LOCAL_MACHINE, key.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &size), ERROR_SUCCESS)
        << name;
    EXPECT_EQ(value, expected) << name;
  }

  SetRaw(HKEY_LOCAL_MACHINE, key + "\\Sub\\Deeper", "x", REG_SZ, std::string("y\0", 2));
  integration::RemoveUninstallEntry(os.registry, title);
  EXPECT_FALSE(e2e::RegKeyExists(HKEY_LOCAL_MACHINE, key));
}

TEST_F(Integration, UninstallEntryEdgeTitles) {
  // Another program's entry and the shared key must survive every one of these.
  SetRaw(HKEY_LOCAL_MACHINE, UninstallKey("E2E Other"), "DisplayName", REG_SZ, std::string("Other\0", 6));
  const auto sharedValuesBefore = e2e::RegValueNames(HKEY_LOCAL_MACHINE, kUninstall);

  const std::string title32 = "E2E Thirty-Two Characters Title!";
  ASSERT_EQ(title32.size(), 32u);
  integration::RegisterUninstallEntry(os.registry, title32, "C:\\u.exe");
  EXPECT_EQ(e2e::ReadRegString(HKEY_LOCAL_MACHINE, UninstallKey(title32), "DisplayName"), title32);
  integration::RemoveUninstallEntry(os.registry, title32);
  EXPECT_FALSE(e2e::RegKeyExists(HKEY_LOCAL_MACHINE, UninstallKey(title32)));

  integration::RegisterUninstallEntry(os.registry, "E2E A\\B", "C:\\u.exe");
  EXPECT_EQ(e2e::ReadRegString(HKEY_LOCAL_MACHINE, UninstallKey("E2E A\\B"), "DisplayName"), "E2E A\\B");
  integration::RemoveUninstallEntry(os.registry, "E2E A\\B");
  EXPECT_FALSE(e2e::RegKeyExists(HKEY_LOCAL_MACHINE, UninstallKey("E2E A\\B")));
  EXPECT_TRUE(e2e::RegKeyExists(HKEY_LOCAL_MACHINE, UninstallKey("E2E A")));

  for (const char* title : {"", "\\", ".."}) {
    SCOPED_TRACE(std::string("title '") + title + "'");
    integration::RegisterUninstallEntry(os.registry, title, "C:\\u.exe");
    integration::RemoveUninstallEntry(os.registry, title);
    EXPECT_TRUE(e2e::RegKeyExists(HKEY_LOCAL_MACHINE, kUninstall));
    EXPECT_TRUE(e2e::RegKeyExists(HKEY_LOCAL_MACHINE, UninstallKey("E2E Other")));
    EXPECT_EQ(e2e::RegValueNames(HKEY_LOCAL_MACHINE, kUninstall), sharedValuesBefore);
  }
}

TEST_F(Integration, ShortcutsPointAtTheirTargetsAndAreReplaced) {
  const std::string title = "E2E Links";
  const std::string saver = MakeFile("e2elinks.scr");
  const std::string uninstaller = MakeFile("uninstall e2elinks.exe");
  const std::string readme = MakeFile(title + " Readme.txt");
  for (int round = 0; round < 2; ++round) {  // the second round replaces every link
    integration::CreateDesktopShortcut(os, title, saver);
    integration::CreateStartMenuGroup(os, title, uninstaller, saver, true);
  }
  const std::string group = e2e::Join(programs, title);
  ExpectLink(e2e::Join(desktop, "Preview " + title + ".lnk"), saver);
  ExpectLink(e2e::Join(group, "Preview " + title + ".lnk"), saver);
  ExpectLink(e2e::Join(group, "Readme.lnk"), readme);
  ExpectLink(e2e::Join(group, "Uninstall " + title + ".lnk"), uninstaller);

  integration::RemoveDesktopShortcut(os, title);
  integration::RemoveStartMenuGroup(os, title);
  EXPECT_FALSE(e2e::FileExists(e2e::Join(desktop, "Preview " + title + ".lnk")));
  EXPECT_FALSE(e2e::FolderExists(group));
  EXPECT_TRUE(e2e::FolderExists(programs));
}

TEST_F(Integration, GroupWithAUsersFileKeepsIt) {
  const std::string title = "E2E Kept";
  const std::string saver = MakeFile("e2ekept.scr");
  integration::CreateStartMenuGroup(os, title, MakeFile("u.exe"), saver, false);
  const std::string group = e2e::Join(programs, title);
  ASSERT_TRUE(e2e::WriteFileBytes(e2e::Join(group, "My notes.txt"), "mine"));
  integration::RemoveStartMenuGroup(os, title);
  EXPECT_TRUE(e2e::FileExists(e2e::Join(group, "My notes.txt")));
  EXPECT_FALSE(e2e::FileExists(e2e::Join(group, "Preview " + title + ".lnk")));
  EXPECT_FALSE(e2e::FileExists(e2e::Join(group, "Uninstall " + title + ".lnk")));
}

TEST_F(Integration, TitleWithAForbiddenCharacterMakesNothingQuietly) {
  const std::string saver = MakeFile("e2eq.scr");
  EXPECT_NO_THROW(integration::CreateDesktopShortcut(os, "What?", saver));
  EXPECT_NO_THROW(integration::CreateStartMenuGroup(os, "What?", MakeFile("u.exe"), saver, true));
  EXPECT_EQ(CountMatching(desktop, "*What*"), 0);
  EXPECT_EQ(CountMatching(programs, "*What*"), 0);
  EXPECT_NO_THROW(integration::RemoveStartMenuGroup(os, "What?"));
  EXPECT_TRUE(e2e::FolderExists(programs));
}

TEST_F(Integration, TranslatedPreviewNamesTheFile) {
  language::LoadTranslation("Setup\r\nPreview=Apercu\r\n", "Setup");
  const std::string saver = MakeFile("e2etr.scr");
  integration::CreateDesktopShortcut(os, "E2E Tr", saver);
  ExpectLink(e2e::Join(desktop, "Apercu E2E Tr.lnk"), saver);
  EXPECT_FALSE(e2e::FileExists(e2e::Join(desktop, "Preview E2E Tr.lnk")));
  integration::RemoveDesktopShortcut(os, "E2E Tr");
  EXPECT_FALSE(e2e::FileExists(e2e::Join(desktop, "Apercu E2E Tr.lnk")));
}

TEST_F(Integration, LinkPathsStopAt259Characters) {
  const std::string saver = MakeFile("e2elong.scr");
  const std::size_t fixed = desktop.size() + 1 + 4;  // "\" and ".lnk"
  ASSERT_LT(fixed, 200u);
  const std::string fits(259 - fixed, 'n');
  const std::string tooLong(260 - fixed, 'n');
  EXPECT_NO_THROW(integration::CreateShellLink(os.shell, saver, fits, CSIDL_DESKTOP));
  ExpectLink(e2e::Join(desktop, fits + ".lnk"), saver);
  EXPECT_THROW(integration::CreateShellLink(os.shell, saver, tooLong, CSIDL_DESKTOP), integration::ShortcutError);
  EXPECT_FALSE(e2e::FileExists(e2e::Join(desktop, tooLong + ".lnk")));
  DeleteFileA(e2e::Join(desktop, fits + ".lnk").c_str());
}

}  // namespace
