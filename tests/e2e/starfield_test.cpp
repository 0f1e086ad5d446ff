// The sample screen saver as Windows drives it: settings, full screen, and the preview monitor.
#include <gtest/gtest.h>

#include <vector>

#include "support/e2e_support.h"

namespace {

using e2e::Quote;

constexpr char kSaverClass[] = "StarfieldSaverWindow";

e2e::Process StartSaver(const std::string& arguments) {
  const std::string saver = e2e::SaverPath();
  EXPECT_FALSE(saver.empty()) << "SCR_E2E_SAVER is not set";
  return e2e::StartProcess(Quote(saver) + (arguments.empty() ? "" : " " + arguments));
}

TEST(StarfieldTest, SettingsSayThereAreNone) {
  for (const char* arguments : {"/c", "", "-C:0", "/c 12345"}) {
    e2e::Process saver = StartSaver(arguments);
    ASSERT_TRUE(saver.Started()) << arguments;
    const auto box = e2e::WaitForMessageBox(saver, "Starfield");
    ASSERT_TRUE(box) << "no settings box for '" << arguments << "'";
    EXPECT_NE(box->text.find("no settings"), std::string::npos) << box->text;
    EXPECT_TRUE(box->HasButton(IDOK));
    ASSERT_TRUE(e2e::ClickButton(box->window, IDOK));
    EXPECT_TRUE(saver.WaitForExit()) << arguments;
  }
}

int LitPixels(const std::vector<uint32_t>& pixels) {
  int lit = 0;
  for (uint32_t p : pixels) lit += (p & 0xFFFFFF) != 0;
  return lit;
}

HWND WaitForFullScreenWindow(const e2e::Process& saver) {
  HWND window = e2e::WaitForWindow(saver, kSaverClass);
  if (!window) return nullptr;
  RECT r;
  GetWindowRect(window, &r);
  EXPECT_GE(r.right - r.left, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_GE(r.bottom - r.top, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  return window;
}

TEST(StarfieldTest, FullScreenDrawsMovingStarsAndEndsOnAKey) {
  e2e::Process saver = StartSaver("/s");
  ASSERT_TRUE(saver.Started());
  HWND window = WaitForFullScreenWindow(saver);
  ASSERT_TRUE(window);

  // Stars: some lit pixels on a mostly black screen, and a picture that changes.
  std::vector<uint32_t> first;
  ASSERT_TRUE(e2e::WaitFor([&] {
    first = e2e::ScreenPixels(window);
    const int lit = LitPixels(first);
    return lit > 20 && lit < int(first.size() / 10);
  })) << "no star field on the screen";
  EXPECT_TRUE(e2e::WaitFor([&] { return e2e::ScreenPixels(window) != first; })) << "the stars do not move";

  PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_TRUE(saver.WaitForExit()) << "a key press did not end the screen saver";
}

TEST(StarfieldTest, FullScreenEndsWhenTheMouseMoves) {
  e2e::Process saver = StartSaver("/S");
  ASSERT_TRUE(saver.Started());
  HWND window = WaitForFullScreenWindow(saver);
  ASSERT_TRUE(window);
  POINT at;
  ASSERT_TRUE(GetCursorPos(&at));
  SetCursorPos(at.x + 60, at.y + 40);
  PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(at.x + 60, at.y + 40));
  EXPECT_TRUE(saver.WaitForExit()) << "moving the mouse did not end the screen saver";
  SetCursorPos(at.x, at.y);
}

// Waits while serving this thread's messages: the preview's parent window lives here, and the
// saver's child window sends it messages while it is created.
bool WaitPumping(const std::function<bool()>& condition) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > e2e::kTimeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, e2e::kPollMs, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  return true;
}

TEST(StarfieldTest, PreviewDrawsInsideTheMonitorAndEndsWithIt) {
  HWND monitor = CreateWindowExA(0, "STATIC", "preview", WS_POPUP | WS_VISIBLE, 100, 100, 152, 112, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_TRUE(monitor);
  e2e::Process saver = StartSaver("/p " + std::to_string(reinterpret_cast<uintptr_t>(monitor)));
  ASSERT_TRUE(saver.Started());

  HWND child = nullptr;
  ASSERT_TRUE(WaitPumping([&] {
    child = FindWindowExA(monitor, nullptr, kSaverClass, nullptr);
    return child != nullptr;
  })) << "no preview inside the monitor window";
  RECT r;
  GetClientRect(child, &r);
  EXPECT_EQ(r.right, 152);
  EXPECT_EQ(r.bottom, 112);
  EXPECT_TRUE(e2e::TopLevelWindows(saver.Id()).empty()) << "the preview opened a window of its own";

  DestroyWindow(monitor);
  EXPECT_TRUE(WaitPumping([&] { return !saver.Running(); })) << "the preview outlived its monitor";
}

}  // namespace
