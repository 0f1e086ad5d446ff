// The wizard as a user meets it: real setup files made from the stub, started under Wine, driven
// through the fixed control IDs of the window.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "support/e2e_support.h"
#include "support/setup_file.h"
#include "ui/wizard_controls.h"

namespace {

using e2e::kCorrupted;

using e2e::Process;

// Every text the window shows, in French, so that an untranslated control stands out.
constexpr char kFrench[] =
    "Setup\r\n"
    "Back=Retour\r\n"
    "Next=Suivant\r\n"
    "Cancel=Annuler\r\n"
    "Install=Installer\r\n"
    "Finish=Terminer\r\n"
    "&Browse=&Parcourir\r\n"
    "Browse=Choisissez un dossier\r\n"
    "Setup=Installation\r\n"
    "Select the folder where you would like the Screen Saver to be installed, then click "
    "Install.=Choisissez le dossier.\r\n"
    "Please read the following License Agreement. You must accept the terms of this agreement "
    "before continuing with the installation.=Lisez le contrat.\r\n"
    "When you are ready, click Next.=Cliquez sur Suivant.\r\n"
    "Click Finish to exit Setup.=Cliquez sur Terminer.\r\n"
    "The Setup is ready to install Screen Saver on your computer. Click Install to continue, or "
    "Cancel to exit Setup.=Pret.\r\n"
    "I &accept the agreement=J'&accepte\r\n"
    "I &do not accept the agreement=Je &refuse\r\n"
    "License Agreement=Contrat de licence\r\n"
    "Please read the following important information before continuing.=Lisez ceci.\r\n";

// The wizard process and its window once it shows.
struct Wizard {
  Process process;
  HWND window = nullptr;

  HWND Control(int id) const { return e2e::ChildById(window, id); }
  bool Visible(int id) const { return Control(id) && IsWindowVisible(Control(id)); }
  bool Enabled(int id) const { return Control(id) && IsWindowEnabled(Control(id)); }
  std::string Text(int id) const { return e2e::TextOf(Control(id)); }
  int Page() const {
    for (int page = 0; page < 6; ++page)
      if (Visible(ui::PageChildId(page))) return page;
    return -1;
  }
  bool WaitForPage(int page) const {
    return e2e::WaitFor([&] { return Page() == page; });
  }
  // The control that has the keyboard focus in the wizard's thread.
  HWND Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
  }
  void PressEsc() const { PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0x00010001); }
  bool Click(int id) const { return e2e::ClickButton(window, id); }
  bool ClickAndWaitForPage(int id, int page) const { return Click(id) && WaitForPage(page); }
};

Wizard StartWizard(const std::string& setupPath, const std::string& arguments = {}) {
  Wizard w;
  w.process = e2e::StartProcess(e2e::Quote(setupPath) + arguments);
  EXPECT_TRUE(w.process.Started()) << setupPath;
  e2e::WaitFor([&] {
    w.window = e2e::FindWindowOf(w.process, "TSCRSetup");
    return w.window && IsWindowVisible(w.window);
  });
  EXPECT_TRUE(w.window && IsWindowVisible(w.window)) << "the wizard did not show";
  return w;
}

Wizard StartWizard(const support::SetupContents& c, const std::string& name = "setup.exe") {
  const std::string folder = e2e::ScratchFolder();
  return StartWizard(e2e::WriteSetupFile(folder, name, e2e::SetupFileBytes(c)));
}

// The process ends without ever showing a window of its own.
void ExpectEndsWithoutAWindow(const Process& process) {
  std::vector<std::string> seen;
  const bool ended = e2e::WaitFor([&] {
    for (HWND window : e2e::TopLevelWindows(process.Id(), true))
      seen.push_back(e2e::ClassOf(window) + " \"" + e2e::TextOf(window) + "\"");
    return !process.Running();
  });
  EXPECT_TRUE(ended) << "the process did not end";
  EXPECT_TRUE(seen.empty()) << "a window showed: " << seen.front();
}

bool AnyChildHasText(HWND parent, const std::string& text) {
  bool found = false;
  e2e::ForEachChild(parent, [&](HWND child) { return !(found = e2e::TextOf(child) == text); });
  return found;
}

struct FirstPageCase {
  const char* name;
  bool license;
  bool skipFolderPage;
  int page;
  bool backVisible;
  bool nextEnabled;
};

class FirstPageTest : public ::testing::TestWithParam<FirstPageCase> {};

TEST_P(FirstPageTest, WizardOpensOnTheRightPage) {
  const FirstPageCase& c = GetParam();
  support::SetupContents contents = support::StarsContents();
  if (c.license) contents.license = "The terms.\r\nMore terms.";
  contents.record.SetSkipFolderPage(c.skipFolderPage);
  Wizard w = StartWizard(contents);
  ASSERT_TRUE(w.window);

  EXPECT_EQ(w.Page(), c.page);
  EXPECT_EQ(w.Visible(ui::child::btnBack), c.backVisible);
  EXPECT_TRUE(w.Visible(ui::child::btnNext));
  EXPECT_EQ(w.Enabled(ui::child::btnNext), c.nextEnabled);
  EXPECT_EQ(e2e::TextOf(w.window), "Stars Setup");
  EXPECT_EQ(w.Text(ui::child::Link), "http://stars.example.org/");
  EXPECT_TRUE(w.Visible(ui::child::Link));
  EXPECT_TRUE(w.Click(ui::child::btnCancel));
  EXPECT_TRUE(w.process.WaitForExit());
}

INSTANTIATE_TEST_SUITE_P(
    Wizard, FirstPageTest,
    ::testing::Values(FirstPageCase{"Licence", true, false, 0, true, false},
                      FirstPageCase{"LicenceWithFolderSkipped", true, true, 0, true, false},
                      FirstPageCase{"NoLicence", false, false, 1, false, true},
                      FirstPageCase{"NoLicenceFolderSkipped", false, true, 2, false, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Wizard, NextNeedsTheLicenceAcceptedAndBackOnTheLicenceDoesNothing) {
  support::SetupContents contents = support::StarsContents();
  contents.license = "The terms.";
  contents.record.SetLinkText("");
  Wizard w = StartWizard(contents);
  ASSERT_TRUE(w.window);
  EXPECT_FALSE(w.Visible(ui::child::Link)) << "the design-time link showed";

  ASSERT_EQ(w.Page(), 0);
  EXPECT_FALSE(w.Enabled(ui::child::btnNext));
  DWORD_PTR check = 0;
  SendMessageTimeoutA(w.Control(ui::child::rbNotAccept), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &check);
  EXPECT_EQ(check, static_cast<DWORD_PTR>(BST_CHECKED));
  EXPECT_TRUE(w.Click(ui::child::btnBack));
  EXPECT_EQ(w.Page(), 0);

  ASSERT_TRUE(w.Click(ui::child::rbAccept));
  EXPECT_TRUE(e2e::WaitFor([&] { return w.Enabled(ui::child::btnNext); }));
  ASSERT_TRUE(w.Click(ui::child::rbNotAccept));
  EXPECT_TRUE(e2e::WaitFor([&] { return !w.Enabled(ui::child::btnNext); }));
  ASSERT_TRUE(w.Click(ui::child::rbAccept));
  EXPECT_TRUE(e2e::WaitFor([&] { return w.Enabled(ui::child::btnNext); }));

  EXPECT_TRUE(w.ClickAndWaitForPage(ui::child::btnNext, 1));
  EXPECT_EQ(w.Text(ui::child::btnNext), "Install");
  EXPECT_TRUE(w.Visible(ui::child::btnBack));
  EXPECT_TRUE(w.ClickAndWaitForPage(ui::child::btnBack, 0));
  EXPECT_TRUE(w.Enabled(ui::child::btnNext));
  EXPECT_EQ(w.Text(ui::child::btnNext), "Next >");

  // Esc on the first pages is Cancel: nothing was written, and the exit code says so.
  w.PressEsc();
  EXPECT_TRUE(w.process.WaitForExit());
  EXPECT_EQ(w.process.ExitCode().value_or(99), 2u);
}

TEST(Wizard, EscGoesFromReadmeToFinishedAndThenCloses) {
  const std::string folder = e2e::ScratchFolder();
  support::SetupContents contents = support::StarsContents();
  contents.readme = "Read me first.";
  Wizard w = StartWizard(e2e::WriteSetupFile(folder, "setup.exe", e2e::SetupFileBytes(contents)));
  ASSERT_TRUE(w.window);
  ASSERT_EQ(w.Page(), 1);
  const std::string target = e2e::Join(folder, "installed");
  SetWindowTextA(w.Control(ui::child::edDirectory), target.c_str());

  ASSERT_TRUE(w.ClickAndWaitForPage(ui::child::btnNext, 4));
  EXPECT_TRUE(e2e::FileExists(e2e::Join(target, "stars.scr")));
  EXPECT_FALSE(w.Enabled(ui::child::btnCancel));
  EXPECT_FALSE(w.Visible(ui::child::btnBack));

  ASSERT_NE(w.Focus(), w.Control(ui::child::edReadme)) << "the readme memo would keep Esc";
  w.PressEsc();
  ASSERT_TRUE(w.WaitForPage(5));
  EXPECT_EQ(w.Text(ui::child::btnNext), "Finish");
  w.PressEsc();
  EXPECT_TRUE(w.process.WaitForExit());
}

TEST(Wizard, LicenceMemoKeepsEscWhileItHasTheFocus) {
  support::SetupContents contents = support::StarsContents();
  contents.license = "The terms.";
  Wizard w = StartWizard(contents);
  ASSERT_TRUE(w.window);
  const HWND memo = w.Control(ui::child::edLicense);
  PostMessageA(memo, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageA(memo, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  ASSERT_TRUE(e2e::WaitFor([&] { return w.Focus() == memo; })) << "the memo did not take the focus";

  w.PressEsc();
  // Posted messages are handled in order: once the marker selection shows, Esc has been handled.
  PostMessageA(memo, EM_SETSEL, 2, 4);
  ASSERT_TRUE(e2e::WaitFor([&] {
    DWORD_PTR selection = 0;
    if (!SendMessageTimeoutA(memo, EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, 5000, &selection)) return false;
    return LOWORD(selection) == 2 && HIWORD(selection) == 4;
  }));
  EXPECT_TRUE(w.process.Running());
  EXPECT_EQ(w.Page(), 0);
  EXPECT_TRUE(w.Click(ui::child::btnCancel));
  EXPECT_TRUE(w.process.WaitForExit());
}

// Clicks Browse with `typed` in the folder box and returns the folder dialog once it shows.
// The dialog is modal: the click is posted so that the test keeps running while it is open.
HWND OpenFolderDialog(const Wizard& w, const std::string& typed) {
  SetWindowTextA(w.Control(ui::child::edDirectory), typed.c_str());
  PostMessageA(w.Control(ui::child::btnBrowse), BM_CLICK, 0, 0);
  HWND dialog = nullptr;
  e2e::WaitFor([&] {
    for (HWND window : e2e::TopLevelWindows(w.process.Id(), true))
      if (e2e::ClassOf(window) == "#32770") dialog = window;
    return dialog != nullptr;
  });
  return dialog;
}

bool CloseFolderDialog(const Wizard& w, HWND dialog, int button) {
  return e2e::ClickButton(dialog, button) &&
         e2e::WaitFor([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }) &&
         e2e::WaitFor([&] { return IsWindowEnabled(w.window) != FALSE; });
}

TEST(Wizard, CancellingTheFolderDialogKeepsTheTypedFolder) {
  support::SetupContents contents = support::StarsContents();
  contents.language = kFrench;
  Wizard w = StartWizard(contents);
  ASSERT_TRUE(w.window);
  ASSERT_EQ(w.Page(), 1);
  const std::string typed = "C:\\typed by the user";
  HWND dialog = OpenFolderDialog(w, typed);
  ASSERT_TRUE(dialog) << "no folder dialog";
  EXPECT_TRUE(AnyChildHasText(dialog, "Choisissez un dossier"));
  EXPECT_FALSE(IsWindowEnabled(w.window)) << "the wizard must wait for the dialog";
  EXPECT_TRUE(CloseFolderDialog(w, dialog, IDCANCEL));
  EXPECT_EQ(w.Text(ui::child::edDirectory), typed);
  EXPECT_EQ(w.Page(), 1);
  EXPECT_TRUE(w.Click(ui::child::btnCancel));
  EXPECT_TRUE(w.process.WaitForExit());
}

// OK right away takes the folder the dialog opened at: the typed one, written back whole,
// without its trailing backslash unless it is a drive root.
TEST(Wizard, ConfirmingTheFolderDialogWritesTheChosenFolderBack) {
  ASSERT_TRUE(e2e::MakeFolderForTheFolderDialog("C:\\Picked Stars"));
  struct Case {
    const char* typed;
    const char* written;
  };
  const Case cases[] = {
      {"C:\\Picked Stars\\", "C:\\Picked Stars"},
      {"C:\\Picked Stars", "C:\\Picked Stars"},
      {"C:\\", "C:\\"},
  };
  Wizard w = StartWizard(support::StarsContents());
  ASSERT_TRUE(w.window);
  ASSERT_EQ(w.Page(), 1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    HWND dialog = OpenFolderDialog(w, c.typed);
    ASSERT_TRUE(dialog) << "no folder dialog";
    EXPECT_TRUE(CloseFolderDialog(w, dialog, IDOK));
    EXPECT_EQ(w.Text(ui::child::edDirectory), c.written);
    EXPECT_EQ(w.Page(), 1);
  }
  EXPECT_TRUE(w.Click(ui::child::btnCancel));
  EXPECT_TRUE(w.process.WaitForExit());
}

TEST(Wizard, FrenchLanguageTextRenamesEveryControl) {
  support::SetupContents contents = support::StarsContents();
  contents.language = kFrench;
  contents.license = "Conditions.";
  Wizard w = StartWizard(contents);
  ASSERT_TRUE(w.window);

  EXPECT_EQ(e2e::TextOf(w.window), "Stars Installation");
  const std::pair<int, std::string> expected[] = {
      {ui::child::btnBack, "< Retour"},
      {ui::child::btnNext, "Suivant >"},
      {ui::child::btnCancel, "Annuler"},
      {ui::child::btnBrowse, "&Parcourir..."},
      {ui::child::Label1, "Choisissez le dossier."},
      {ui::child::Label2, "Lisez le contrat."},
      {ui::child::Label3, "Cliquez sur Suivant."},
      {ui::child::Label4, "Cliquez sur Terminer."},
      {ui::child::Label5, "Pret."},
      {ui::child::rbAccept, "J'&accepte"},
      {ui::child::rbNotAccept, "Je &refuse"},
      {ui::child::lbTitle, "Contrat de licence"},
      {ui::child::lbDescription, "Lisez ceci."},
  };
  for (const auto& [id, text] : expected) EXPECT_EQ(w.Text(id), text) << "control " << id;
  ASSERT_TRUE(w.Click(ui::child::rbAccept));
  ASSERT_TRUE(w.ClickAndWaitForPage(ui::child::btnNext, 1));
  EXPECT_EQ(w.Text(ui::child::btnNext), "Installer");
  EXPECT_TRUE(w.Click(ui::child::btnCancel));
  EXPECT_TRUE(w.process.WaitForExit());
}

TEST(Wizard, CorruptedFileShowsOneErrorBoxAndEnds) {
  const std::string folder = e2e::ScratchFolder();
  std::string bytes = e2e::SetupFileBytes(support::StarsContents());
  bytes.replace(bytes.size() - 10, 10, "NOTASIGNAT");  // no signature anywhere any more
  const std::string path = e2e::WriteSetupFile(folder, "broken.exe", bytes);

  Process process = e2e::StartProcess(e2e::Quote(path));
  ASSERT_TRUE(process.Started());
  const auto box = e2e::WaitForMessageBox(process);
  ASSERT_TRUE(box.has_value()) << "no message box";
  EXPECT_EQ(box->caption, "Screensaver Setup");
  EXPECT_EQ(box->text, kCorrupted);
  EXPECT_TRUE(box->hasIcon);
  ASSERT_EQ(box->buttons.size(), 1u);
  std::vector<HWND> shown = e2e::TopLevelWindows(process.Id(), true);
  EXPECT_EQ(shown.size(), 1u) << "only the message box may show";

  ASSERT_TRUE(e2e::ClickButton(box->window, box->buttons[0].first));
  // No second box, no wizard: the program ends.
  ExpectEndsWithoutAWindow(process);
  EXPECT_EQ(process.ExitCode().value_or(99), 1u);
}

TEST(Wizard, CorruptedFileInSilentModeShowsNothingAndEnds) {
  const std::string folder = e2e::ScratchFolder();
  std::string bytes = e2e::SetupFileBytes(support::StarsContents());
  bytes.replace(bytes.size() - 10, 10, "NOTASIGNAT");
  const std::string path = e2e::WriteSetupFile(folder, "broken.exe", bytes);
  const std::string target = e2e::Join(folder, "target");

  Process process = e2e::StartProcess(e2e::Quote(path) + " -silent " + e2e::Quote(target));
  ASSERT_TRUE(process.Started());
  ExpectEndsWithoutAWindow(process);
  EXPECT_EQ(process.ExitCode().value_or(99), 1u);
  EXPECT_FALSE(e2e::FolderExists(target));
}

// Wine reports the Windows version configured for an executable's name under AppDefaults.
void ReportVersionFor(const std::string& exeName, const std::string& version) {
  const std::string key = "Software\\Wine\\AppDefaults\\" + exeName;
  HKEY handle = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                            &handle, nullptr),
            ERROR_SUCCESS);
  const LONG set = RegSetValueExA(handle, "Version", 0, REG_SZ,
                                  reinterpret_cast<const BYTE*>(version.c_str()),
                                  static_cast<DWORD>(version.size() + 1));
  RegCloseKey(handle);
  ASSERT_EQ(set, ERROR_SUCCESS);
}

TEST(Wizard, ShortFileNameOnWindowsXpButNotOnServer2003) {
  struct VersionCase {
    const char* exeName;
    const char* wineVersion;
    const char* installedName;
    const char* absentName;
  };
  const VersionCase cases[] = {
      {"setup_xp.exe", "winxp", "My_Scree.scr", "My Screen Saver.scr"},
      {"setup_2003.exe", "win2003", "My Screen Saver.scr", "My_Scree.scr"},
  };
  const std::string folder = e2e::ScratchFolder();
  support::SetupContents contents = support::StarsContents();
  contents.record.SetScreensaverFileName("My Screen Saver.scr");
  const std::string bytes = e2e::SetupFileBytes(contents);
  for (const VersionCase& c : cases) {
    SCOPED_TRACE(c.wineVersion);
    ReportVersionFor(c.exeName, c.wineVersion);
    const std::string path = e2e::WriteSetupFile(folder, c.exeName, bytes);
    const std::string target = e2e::Join(folder, std::string("into_") + c.wineVersion);
    Process process = e2e::StartProcess(e2e::Quote(path) + " -silent " + e2e::Quote(target));
    ASSERT_TRUE(process.Started());
    ASSERT_TRUE(process.WaitForExit());
    EXPECT_EQ(process.ExitCode().value_or(99), 0u);
    const auto installed = e2e::ReadFileBytes(e2e::Join(target, c.installedName));
    EXPECT_EQ(installed.value_or("<missing>"), contents.image);
    EXPECT_FALSE(e2e::FileExists(e2e::Join(target, c.absentName)));
  }
}

}  // namespace
