// The wizard's real window under Wine: class, size, where every control sits and in which
// parent, fonts, the header band, the keyboard (accelerators, Tab, Enter), and the scaling at
// 144 dpi.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "os/win32/win_os.h"
#include "support/e2e_support.h"
#include "support/setup_file.h"
#include "ui/wizard_controls.h"
#include "wizard/win32/wizard_window.h"
#include "app/exit_codes.h"
#include "app/start_up.h"

namespace {

constexpr int kMainWindow = 0;

support::SetupContents Contents() {
  support::SetupContents c = support::StarsContents();
  c.license = "The terms.\r\nMore terms.";
  c.readme = "Read me.";
  return c;
}

struct Wizard {
  e2e::Process process;
  HWND window = nullptr;

  HWND Control(int id) const { return e2e::ChildById(window, id); }
  bool Checked(int id) const { return SendMessageA(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  bool Enabled(int id) const { return Control(id) && IsWindowEnabled(Control(id)); }
  bool PageShows(int page) const {
    const HWND p = Control(ui::PageChildId(page));
    return p && IsWindowVisible(p);
  }
  HWND Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
  }
  bool WaitForFocus(int id) const {
    return e2e::WaitFor([&] { return Focus() && Focus() == Control(id); });
  }
};

Wizard StartWizard() {
  Wizard w;
  const std::string path = e2e::WriteSetupFile(e2e::ScratchFolder(), "setup.exe", e2e::SetupFileBytes(Contents()));
  w.process = e2e::StartProcess(e2e::Quote(path));
  e2e::WaitFor([&] {
    w.window = e2e::FindWindowOf(w.process, "TSCRSetup");
    return w.window && IsWindowVisible(w.window);
  });
  EXPECT_TRUE(w.window && IsWindowVisible(w.window)) << "the wizard did not show";
  return w;
}

// Where a control lies in its parent's client area.
RECT RectInParent(HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

int Scale(int pixels, int dpi) { return MulDiv(pixels, dpi, 96); }

// A picture the program could not decode leaves its window one flat colour.
bool ShowsPicture(HWND image) {
  const std::vector<uint32_t> pixels = e2e::ScreenPixels(image);
  return std::set<uint32_t>(pixels.begin(), pixels.end()).size() > 16;
}

// The header picture on the licence page and the folder picture on the folder page, each in the
// variant the dpi calls for.
void ExpectPicturesShown(Wizard& w) {
  EXPECT_TRUE(e2e::WaitFor([&] { return ShowsPicture(w.Control(ui::child::Image2)); })) << "header";
  e2e::ClickButton(w.window, ui::child::rbAccept);
  e2e::ClickButton(w.window, ui::child::btnNext);
  ASSERT_TRUE(e2e::WaitFor([&] { return w.PageShows(1); }));
  EXPECT_TRUE(e2e::WaitFor([&] { return ShowsPicture(w.Control(ui::child::Image1)); })) << "folder";
}

enum class Size { kFixed, kToText, kWrapped };

struct ControlCase {
  const char* name;
  int id;
  int parent;
  const char* className;
  int left, top, width, height;
  Size size;
};

// The window's controls as designed at 96 dpi.
const ControlCase kControls[] = {
    {"Panel2", ui::child::Panel2, kMainWindow, "TSCRPanel", 0, 0, 513, 65, Size::kFixed},
    {"lbTitle", ui::child::lbTitle, ui::child::Panel2, "Static", 18, 12, 177, 18, Size::kToText},
    {"lbDescription", ui::child::lbDescription, ui::child::Panel2, "Static", 40, 34, 195, 13, Size::kToText},
    {"Image2", ui::child::Image2, ui::child::Panel2, "TSCRImage", 456, 8, 48, 48, Size::kFixed},
    {"Bevel2", ui::child::Bevel2, kMainWindow, "TSCRBevel", 0, 65, 513, 9, Size::kFixed},
    {"Notebook", ui::child::Notebook, kMainWindow, "TSCRNotebook", 8, 72, 497, 249, Size::kFixed},
    {"Bevel1", ui::child::Bevel1, kMainWindow, "TSCRBevel", 0, 325, 513, 45, Size::kFixed},
    {"Link", ui::child::Link, kMainWindow, "Static", 8, 342, 99, 13, Size::kToText},
    {"btnBack", ui::child::btnBack, kMainWindow, "Button", 256, 336, 81, 25, Size::kFixed},
    {"btnNext", ui::child::btnNext, kMainWindow, "Button", 337, 336, 80, 25, Size::kFixed},
    {"btnCancel", ui::child::btnCancel, kMainWindow, "Button", 424, 336, 81, 25, Size::kFixed},
    {"PageLicense", ui::child::PageLicense, ui::child::Notebook, "TSCRPage", 0, 0, 497, 249, Size::kFixed},
    {"PageDirectory", ui::child::PageDirectory, ui::child::Notebook, "TSCRPage", 0, 0, 497, 249, Size::kFixed},
    {"PageReady", ui::child::PageReady, ui::child::Notebook, "TSCRPage", 0, 0, 497, 249, Size::kFixed},
    {"PageProgress", ui::child::PageProgress, ui::child::Notebook, "TSCRPage", 0, 0, 497, 249, Size::kFixed},
    {"PageReadme", ui::child::PageReadme, ui::child::Notebook, "TSCRPage", 0, 0, 497, 249, Size::kFixed},
    {"PageFinished", ui::child::PageFinished, ui::child::Notebook, "TSCRPage", 0, 0, 497, 249, Size::kFixed},
    {"Label2", ui::child::Label2, ui::child::PageLicense, "Static", 32, 8, 417, 26, Size::kFixed},
    {"edLicense", ui::child::edLicense, ui::child::PageLicense, "Edit", 32, 48, 433, 145, Size::kFixed},
    {"rbAccept", ui::child::rbAccept, ui::child::PageLicense, "Button", 32, 200, 217, 17, Size::kFixed},
    {"rbNotAccept", ui::child::rbNotAccept, ui::child::PageLicense, "Button", 32, 220, 249, 17, Size::kFixed},
    {"Image1", ui::child::Image1, ui::child::PageDirectory, "TSCRImage", 32, 8, 32, 32, Size::kFixed},
    {"Label1", ui::child::Label1, ui::child::PageDirectory, "Static", 80, 8, 345, 26, Size::kWrapped},
    {"edDirectory", ui::child::edDirectory, ui::child::PageDirectory, "Edit", 32, 48, 345, 21, Size::kFixed},
    {"btnBrowse", ui::child::btnBrowse, ui::child::PageDirectory, "Button", 384, 46, 83, 25, Size::kFixed},
    {"Label5", ui::child::Label5, ui::child::PageReady, "Static", 32, 8, 417, 26, Size::kFixed},
    {"ProgressBar", ui::child::ProgressBar, ui::child::PageProgress, "msctls_progress32", 32, 32, 433, 25, Size::kFixed},
    {"Label3", ui::child::Label3, ui::child::PageReadme, "Static", 32, 8, 155, 13, Size::kWrapped},
    {"Label4", ui::child::Label4, ui::child::PageFinished, "Static", 32, 8, 120, 13, Size::kToText},
};

// Every control in its parent, with the design's place scaled to the screen's dpi. A label
// that follows its text keeps its place; a wrapping one also its width, and its height is a
// whole number of lines.
void ExpectLayout(const Wizard& w, int dpi, int lineHeight) {
  for (const ControlCase& c : kControls) {
    SCOPED_TRACE(c.name);
    const HWND control = w.Control(c.id);
    ASSERT_TRUE(control);
    const HWND parent = c.parent == kMainWindow ? w.window : w.Control(c.parent);
    EXPECT_EQ(GetParent(control), parent);
    EXPECT_EQ(e2e::ClassOf(control), c.className);
    const RECT r = RectInParent(control);
    EXPECT_EQ(r.left, Scale(c.left, dpi));
    EXPECT_EQ(r.top, Scale(c.top, dpi));
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    switch (c.size) {
      case Size::kFixed:
        EXPECT_EQ(width, Scale(c.width, dpi));
        EXPECT_EQ(height, Scale(c.height, dpi));
        break;
      case Size::kWrapped:
        EXPECT_EQ(width, Scale(c.width, dpi));
        EXPECT_GE(height, lineHeight);
        EXPECT_EQ(height % lineHeight, 0) << height;
        break;
      case Size::kToText:
        if (c.id != ui::child::lbTitle) {
          EXPECT_EQ(height, lineHeight);
        }
        EXPECT_GT(width, 0);
        break;
    }
  }
}

// The memo under the readme label starts below the label's text, however many lines it took,
// and ends where it was designed to.
void ExpectReadmeClearOfItsLabel(const Wizard& w, int dpi) {
  const RECT label = RectInParent(w.Control(ui::child::Label3));
  const RECT memo = RectInParent(w.Control(ui::child::edReadme));
  EXPECT_GE(memo.top, Scale(32, dpi));
  EXPECT_GT(memo.top, label.bottom);
  EXPECT_EQ(memo.left, Scale(32, dpi));
  EXPECT_EQ(memo.right - memo.left, Scale(433, dpi));
  EXPECT_EQ(memo.bottom, Scale(32 + 193, dpi));
}

void ExpectWindowFrame(const Wizard& w, int dpi) {
  EXPECT_EQ(e2e::ClassOf(w.window), "TSCRSetup");
  RECT client;
  GetClientRect(w.window, &client);
  EXPECT_EQ(client.right, Scale(513, dpi));
  EXPECT_EQ(client.bottom, Scale(370, dpi));
  const LONG style = GetWindowLongA(w.window, GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  RECT frame;
  GetWindowRect(w.window, &frame);
  const int centreX = (frame.left + frame.right) / 2;
  const int centreY = (frame.top + frame.bottom) / 2;
  EXPECT_NEAR(centreX, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
  EXPECT_NEAR(centreY, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
}

LOGFONTA FontOf(HWND control) {
  LOGFONTA font{};
  const auto handle = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
  EXPECT_TRUE(handle) << "no font set";
  if (handle) {
    EXPECT_EQ(GetObjectA(handle, sizeof(font), &font), static_cast<int>(sizeof(font)));
  }
  return font;
}

struct FontCase {
  const char* name;
  int id;
  int points;
  bool underline;
};

const FontCase kFonts[] = {
    {"lbTitle", ui::child::lbTitle, 11, false},    {"lbDescription", ui::child::lbDescription, 8, false},
    {"Link", ui::child::Link, 8, true},             {"btnNext", ui::child::btnNext, 8, false},
    {"btnCancel", ui::child::btnCancel, 8, false}, {"btnBack", ui::child::btnBack, 8, false},
    {"Label2", ui::child::Label2, 8, false},        {"edLicense", ui::child::edLicense, 8, false},
    {"rbAccept", ui::child::rbAccept, 8, false},   {"edDirectory", ui::child::edDirectory, 8, false},
    {"btnBrowse", ui::child::btnBrowse, 8, false}, {"edReadme", ui::child::edReadme, 8, false},
};

void ExpectFonts(const Wizard& w, int dpi) {
  for (const FontCase& c : kFonts) {
    SCOPED_TRACE(c.name);
    const LOGFONTA font = FontOf(w.Control(c.id));
    EXPECT_STREQ(font.lfFaceName, "Tahoma");
    EXPECT_EQ(font.lfHeight, -MulDiv(c.points, dpi, 72));
    EXPECT_EQ(font.lfUnderline != 0, c.underline);
    EXPECT_LT(font.lfWeight, FW_BOLD);
  }
}

struct ColourCase {
  const char* name;
  int id;
  int paper;  // system colour
  std::optional<COLORREF> ink;  // none: the system's text colour
};

const ColourCase kColours[] = {
    {"lbTitle", ui::child::lbTitle, COLOR_WINDOW, RGB(0, 51, 188)},
    {"lbDescription", ui::child::lbDescription, COLOR_WINDOW, std::nullopt},
    {"edLicense", ui::child::edLicense, COLOR_WINDOW, std::nullopt},
    {"Link", ui::child::Link, COLOR_BTNFACE, RGB(0, 102, 204)},
    {"Label2", ui::child::Label2, COLOR_BTNFACE, std::nullopt},
    {"rbAccept", ui::child::rbAccept, COLOR_BTNFACE, std::nullopt},
};

// What the window answers when a child asks how to paint its text, asked through the child's
// parent as the child itself would. The device context and brushes are the process's own.
void ExpectStaticColours(const Wizard& w) {
  HDC dc = CreateCompatibleDC(nullptr);
  ASSERT_TRUE(dc);
  for (const ColourCase& c : kColours) {
    SCOPED_TRACE(c.name);
    const HWND child = w.Control(c.id);
    const LRESULT brush = SendMessageA(GetParent(child), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(child));
    EXPECT_EQ(brush, reinterpret_cast<LRESULT>(GetSysColorBrush(c.paper)));
    EXPECT_EQ(GetBkColor(dc), GetSysColor(c.paper));
    EXPECT_EQ(GetTextColor(dc), c.ink.value_or(GetSysColor(COLOR_WINDOWTEXT)));
  }
  DeleteDC(dc);
}

void PressKeys(const std::vector<std::pair<WORD, bool>>& keys) {
  std::vector<INPUT> inputs;
  for (const auto& [key, down] : keys) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    inputs.push_back(input);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void PressAlt(char letter) {
  PressKeys({{VK_MENU, true}, {static_cast<WORD>(letter), true}, {static_cast<WORD>(letter), false}, {VK_MENU, false}});
}

void Press(WORD key) { PressKeys({{key, true}, {key, false}}); }

bool Activate(const Wizard& w) {
  SetForegroundWindow(w.window);
  return e2e::WaitFor([&] { return GetForegroundWindow() == w.window; });
}

void CloseWizard(Wizard& w) {
  e2e::ClickButton(w.window, ui::child::btnCancel);
  EXPECT_TRUE(w.process.WaitForExit());
}

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

TEST(Window, LayoutFontsAndHeaderAt96Dpi) {
  ASSERT_EQ(ScreenDpi(), 96) << "the prefix does not run at 96 dpi";
  Wizard w = StartWizard();
  ASSERT_TRUE(w.window);
  ExpectWindowFrame(w, 96);
  ExpectLayout(w, 96, 13);
  ExpectReadmeClearOfItsLabel(w, 96);

  // Exactly one page shows: the licence.
  for (int page = 0; page < 6; ++page) EXPECT_EQ(w.PageShows(page), page == 0) << page;

  // Memo, edit and choice styles.
  const LONG license = GetWindowLongA(w.Control(ui::child::edLicense), GWL_STYLE);
  EXPECT_TRUE((license & ES_MULTILINE) && (license & ES_READONLY) && (license & WS_VSCROLL));
  const LONG readme = GetWindowLongA(w.Control(ui::child::edReadme), GWL_STYLE);
  EXPECT_TRUE((readme & ES_MULTILINE) && (readme & WS_VSCROLL));
  EXPECT_FALSE(readme & ES_READONLY);
  EXPECT_EQ(e2e::TextOf(w.Control(ui::child::edLicense)), "The terms.\r\nMore terms.");
  for (int id : {ui::child::rbAccept, ui::child::rbNotAccept})
    EXPECT_EQ(GetWindowLongA(w.Control(id), GWL_STYLE) & BS_TYPEMASK, BS_AUTORADIOBUTTON);
  for (int id : {ui::child::btnNext, ui::child::btnBack, ui::child::btnCancel, ui::child::btnBrowse})
    EXPECT_EQ(GetWindowLongA(w.Control(id), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON) << id;
  EXPECT_TRUE(w.Checked(ui::child::rbNotAccept));
  EXPECT_FALSE(w.Checked(ui::child::rbAccept));
  EXPECT_EQ(SendMessageA(w.Control(ui::child::ProgressBar), PBM_GETRANGE, FALSE, 0), 100);
  // The edit boxes and the first choice open a group each; the second choice is in the first's.
  for (int id : {ui::child::edLicense, ui::child::rbAccept, ui::child::edDirectory, ui::child::edReadme})
    EXPECT_TRUE(GetWindowLongA(w.Control(id), GWL_STYLE) & WS_GROUP) << id;
  EXPECT_FALSE(GetWindowLongA(w.Control(ui::child::rbNotAccept), GWL_STYLE) & WS_GROUP);
  // The memo boxes take texts longer than the system's limit, which the folder box keeps.
  const auto limit = [&](int id) { return static_cast<UINT>(SendMessageA(w.Control(id), EM_GETLIMITTEXT, 0, 0)); };
  for (int id : {ui::child::edLicense, ui::child::edReadme}) EXPECT_GT(limit(id), limit(ui::child::edDirectory)) << id;
  ExpectPicturesShown(w);
  CloseWizard(w);
}

// Fonts and class brushes belong to the process that made them, so this test runs the window
// code in its own process, on a thread of its own, with the real system underneath; only the
// program's own path is the setup file's.
class SetupFileAsOwnPath : public os::System {
 public:
  SetupFileAsOwnPath(os::System& real, std::string path) : real_(real), path_(std::move(path)) {}
  bool RestrictDllSearchToSystemFolder() noexcept override { return real_.RestrictDllSearchToSystemFolder(); }
  bool RemoveCurrentFolderFromDllSearch() noexcept override { return real_.RemoveCurrentFolderFromDllSearch(); }
  bool LoadSystemLibrary(const std::string& fileName) noexcept override { return real_.LoadSystemLibrary(fileName); }
  std::string CommandLine() noexcept override { return real_.CommandLine(); }
  std::string ModulePath() noexcept override { return path_; }
  std::optional<os::VersionInfo> Version() noexcept override { return real_.Version(); }
  int ShowMessage(os::WindowRef owner, const std::string& text, const std::string& caption,
                  unsigned flags) noexcept override {
    return real_.ShowMessage(owner, text, caption, flags);
  }
  void Sleep(uint32_t milliseconds) noexcept override { real_.Sleep(milliseconds); }
  bool RandomBytes(void* buffer, std::size_t count) noexcept override { return real_.RandomBytes(buffer, count); }
  bool RunsAsLocalSystem() noexcept override { return real_.RunsAsLocalSystem(); }
  bool ClaimForThisRun(const std::string& name) noexcept override { return real_.ClaimForThisRun(name); }
  os::LocalTime Now() noexcept override { return real_.Now(); }
  std::string UserName() noexcept override { return real_.UserName(); }
  std::optional<bool> RunsElevated() noexcept override { return real_.RunsElevated(); }
  std::string ErrorText(os::ErrorCode code) noexcept override { return real_.ErrorText(code); }
  os::ErrorCode LastError() const override { return real_.LastError(); }

 private:
  os::System& real_;
  std::string path_;
};

// Start-up as the entry point runs it, with the real wizard window.
class WizardWindowOnly : public app::Windows {
 public:
  explicit WizardWindowOnly(os::Os& os) : os_(os) {}
  integration::RunOutcome RunWizard(const package::OwnPackage& package,
                                    runlog::RunLog& log) override {
    return wizard::win32::RunWizardWindow(os_, package, log);
  }
  os::WindowRef HiddenOwner() override { return 0; }

 private:
  os::Os& os_;
};

TEST(Window, FontsAndBackgroundsInProcess) {
  const std::string path = e2e::WriteSetupFile(e2e::ScratchFolder(), "setup.exe", e2e::SetupFileBytes(Contents()));
  ASSERT_FALSE(HasFailure()) << "no setup file to run";

  os::win32::WinOs real;
  os::Os realOs = real.Os();
  SetupFileAsOwnPath system(realOs.system, path);
  os::Os os{realOs.files, realOs.registry, realOs.shell, system};
  int exitCode = -1;
  std::thread wizardThread([&] {
    WizardWindowOnly windows(os);
    runlog::RunLog noLog;
    exitCode = app::StartUp(os, app::CommandLine({path}), windows, noLog);
  });
  Wizard w;
  e2e::WaitFor([&] {
    w.window = FindWindowA("TSCRSetup", nullptr);
    return w.window && IsWindowVisible(w.window);
  });
  if (w.window) {
    ExpectFonts(w, 96);
    // The header band is white, the window and the pages button-face.
    EXPECT_EQ(GetClassLongPtrA(w.Control(ui::child::Panel2), GCLP_HBRBACKGROUND), COLOR_WINDOW + 1);
    EXPECT_EQ(GetClassLongPtrA(w.window, GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);
    EXPECT_EQ(GetClassLongPtrA(w.Control(ui::child::PageLicense), GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);
    ExpectStaticColours(w);
    PostMessageA(w.window, WM_CLOSE, 0, 0);
  }
  wizardThread.join();
  ASSERT_TRUE(w.window) << "the wizard did not show";
  EXPECT_EQ(exitCode, app::kExitStoppedUnchanged) << "closed without installing";
}

TEST(Window, AcceleratorsTabAndEnter) {
  Wizard w = StartWizard();
  ASSERT_TRUE(w.window);
  ASSERT_TRUE(Activate(w));

  PressAlt('A');
  ASSERT_TRUE(e2e::WaitFor([&] { return w.Checked(ui::child::rbAccept); })) << "Alt+A did not accept";
  EXPECT_FALSE(w.Checked(ui::child::rbNotAccept));
  EXPECT_TRUE(e2e::WaitFor([&] { return w.Enabled(ui::child::btnNext); }));
  EXPECT_TRUE(w.WaitForFocus(ui::child::btnNext)) << "accepting moves the focus to Next";

  PressAlt('D');
  ASSERT_TRUE(e2e::WaitFor([&] { return w.Checked(ui::child::rbNotAccept); })) << "Alt+D did not decline";
  EXPECT_TRUE(e2e::WaitFor([&] { return !w.Enabled(ui::child::btnNext); }));

  // Alt+B belongs to the folder page's Browse button: on the licence page it reaches nothing,
  // and Alt+A still works after it.
  PressAlt('B');
  PressAlt('A');
  ASSERT_TRUE(e2e::WaitFor([&] { return w.Checked(ui::child::rbAccept); }));
  EXPECT_TRUE(w.PageShows(0));
  EXPECT_TRUE(w.WaitForFocus(ui::child::btnNext));

  // Tab walks Next, Cancel, the page's controls, Back, and round again.
  for (int id : {ui::child::btnCancel, ui::child::edLicense, ui::child::rbAccept}) {
    Press(VK_TAB);
    EXPECT_TRUE(w.WaitForFocus(id)) << id;
  }
  PressKeys({{VK_SHIFT, true}, {VK_TAB, true}, {VK_TAB, false}, {VK_SHIFT, false}});
  EXPECT_TRUE(w.WaitForFocus(ui::child::edLicense));

  // Enter in the licence memo does nothing; on a focused button it clicks that button only.
  Press(VK_RETURN);
  PressKeys({{VK_SHIFT, true}, {VK_TAB, true}, {VK_TAB, false}, {VK_SHIFT, false}});
  ASSERT_TRUE(w.WaitForFocus(ui::child::btnCancel));
  PressKeys({{VK_SHIFT, true}, {VK_TAB, true}, {VK_TAB, false}, {VK_SHIFT, false}});
  ASSERT_TRUE(w.WaitForFocus(ui::child::btnNext));
  EXPECT_TRUE(w.PageShows(0));
  Press(VK_RETURN);
  EXPECT_TRUE(e2e::WaitFor([&] { return w.PageShows(1); })) << "Enter on Next did not move on";

  // On the folder page Alt+B belongs to Browse: the folder dialog opens, Cancel closes it.
  PressAlt('B');
  const auto dialog = e2e::WaitFor([&] {
    for (HWND top : e2e::TopLevelWindows(w.process.Id()))
      if (e2e::ClassOf(top) == "#32770") return true;
    return false;
  });
  EXPECT_TRUE(dialog) << "Alt+B did not open the folder dialog";
  for (HWND top : e2e::TopLevelWindows(w.process.Id()))
    if (e2e::ClassOf(top) == "#32770") e2e::ClickButton(top, IDCANCEL);
  EXPECT_TRUE(e2e::WaitFor([&] { return IsWindowEnabled(w.window) != FALSE; }));
  CloseWizard(w);
}

// Runs last: it switches the prefix to 144 dpi for every program started after it.
TEST(Window, ScalesEverythingAt144Dpi) {
  HKEY desktop = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &desktop, nullptr),
            ERROR_SUCCESS);
  const DWORD dpi = 144;
  RegSetValueExA(desktop, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi));
  RegCloseKey(desktop);

  Wizard w = StartWizard();
  ASSERT_TRUE(w.window);
  ExpectWindowFrame(w, 144);
  const int lineHeight = [&] {
    // Tahoma at 16 pixels: the line height the wizard's labels are measured with.
    RECT r = RectInParent(w.Control(ui::child::lbDescription));
    return static_cast<int>(r.bottom - r.top);
  }();
  EXPECT_GT(lineHeight, 13);
  ExpectLayout(w, 144, lineHeight);
  ExpectReadmeClearOfItsLabel(w, 144);
  ExpectPicturesShown(w);
  CloseWizard(w);
}

}  // namespace
