#include "saver_window.h"

#include <cstdlib>
#include <memory>

#include "star_field.h"

namespace starfield {
namespace {

constexpr char kClassName[] = "StarfieldSaverWindow";
constexpr UINT_PTR kFrameTimer = 1;
constexpr UINT kFrameMilliseconds = 30;
constexpr int kMouseSlack = 4;  // pixels of jitter that do not end the saver

// An off-screen bitmap of the window's size: each frame is drawn there and copied in one go,
// so the stars do not flicker.
class BackBuffer {
 public:
  BackBuffer(HDC screen, int width, int height)
      : dc_(CreateCompatibleDC(screen)), bitmap_(CreateCompatibleBitmap(screen, width, height)),
        previous_(dc_ && bitmap_ ? SelectObject(dc_, bitmap_) : nullptr) {}
  ~BackBuffer() {
    if (previous_) SelectObject(dc_, previous_);
    if (bitmap_) DeleteObject(bitmap_);
    if (dc_) DeleteDC(dc_);
  }
  BackBuffer(const BackBuffer&) = delete;
  BackBuffer& operator=(const BackBuffer&) = delete;
  bool Ok() const { return previous_ != nullptr; }
  HDC Dc() const { return dc_; }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ previous_;
};

struct SaverState {
  bool fullScreen = false;
  POINT startCursor{};
  StarField stars{400, GetTickCount()};
  std::unique_ptr<BackBuffer> buffer;
  int width = 0, height = 0;
};

SaverState* StateOf(HWND window) { return reinterpret_cast<SaverState*>(GetWindowLongPtrA(window, GWLP_USERDATA)); }

void Paint(HWND window, SaverState& state) {
  PAINTSTRUCT ps;
  HDC screen = BeginPaint(window, &ps);
  if (!state.buffer || !state.buffer->Ok()) {
    state.buffer = std::make_unique<BackBuffer>(screen, state.width, state.height);
  }
  if (state.buffer->Ok()) {
    HDC dc = state.buffer->Dc();
    const RECT all{0, 0, state.width, state.height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    for (const ScreenStar& star : state.stars.Visible()) {
      // A faint blue tint keeps the sky from looking grey.
      const COLORREF colour = RGB(star.brightness * 9 / 10, star.brightness * 9 / 10, star.brightness);
      const RECT dot{star.x, star.y, star.x + star.size, star.y + star.size};
      SetBkColor(dc, colour);
      ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &dot, nullptr, 0, nullptr);  // the cheapest solid fill
    }
    BitBlt(screen, 0, 0, state.width, state.height, dc, 0, 0, SRCCOPY);
  }
  EndPaint(window, &ps);
}

bool MovedFarEnough(const SaverState& state) {
  POINT now;
  if (!GetCursorPos(&now)) return false;
  return std::abs(now.x - state.startCursor.x) > kMouseSlack || std::abs(now.y - state.startCursor.y) > kMouseSlack;
}

LRESULT CALLBACK SaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  SaverState* state = StateOf(window);
  if (message == WM_NCCREATE) {
    state = static_cast<SaverState*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
  }
  if (!state) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_CREATE:
      SetTimer(window, kFrameTimer, kFrameMilliseconds, nullptr);
      return 0;
    case WM_SIZE:
      state->width = LOWORD(lParam);
      state->height = HIWORD(lParam);
      state->stars.Resize(state->width, state->height);
      state->buffer.reset();
      return 0;
    case WM_TIMER:
      state->stars.Step();
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // everything is painted from the back buffer
    case WM_PAINT:
      Paint(window, *state);
      return 0;
    case WM_SETCURSOR:
      if (state->fullScreen) {
        SetCursor(nullptr);
        return TRUE;
      }
      break;
    case WM_MOUSEMOVE:
      if (state->fullScreen && MovedFarEnough(*state)) DestroyWindow(window);
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (state->fullScreen) DestroyWindow(window);
      return 0;
    case WM_ACTIVATEAPP:
      if (state->fullScreen && !wParam) DestroyWindow(window);
      return 0;
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      KillTimer(window, kFrameTimer);
      state->buffer.reset();
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterSaverClass(HINSTANCE instance) {
  WNDCLASSA wc{};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = SaverProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kClassName;
  return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

int MessageLoop() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}

}  // namespace

int RunFullScreen(HINSTANCE instance) {
  if (!RegisterSaverClass(instance)) return 1;
  SaverState state;
  state.fullScreen = true;
  GetCursorPos(&state.startCursor);
  const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
  int width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  if (width <= 0 || height <= 0) {
    width = GetSystemMetrics(SM_CXSCREEN);
    height = GetSystemMetrics(SM_CYSCREEN);
  }
  HWND window = CreateWindowExA(WS_EX_TOPMOST, kClassName, "Starfield", WS_POPUP | WS_VISIBLE, x, y, width,
                                height, nullptr, nullptr, instance, &state);
  if (!window) return 1;
  SetForegroundWindow(window);
  return MessageLoop();
}

int RunPreview(HINSTANCE instance, HWND parent) {
  if (!IsWindow(parent) || !RegisterSaverClass(instance)) return 1;
  RECT area;
  GetClientRect(parent, &area);
  SaverState state;
  HWND window = CreateWindowExA(0, kClassName, "Starfield", WS_CHILD | WS_VISIBLE, 0, 0, area.right,
                                area.bottom, parent, nullptr, instance, &state);
  if (!window) return 1;
  return MessageLoop();
}

}  // namespace starfield
