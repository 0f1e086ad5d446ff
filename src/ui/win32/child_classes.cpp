#include "ui/win32/child_classes.h"

#include "os/win32/unique_handle.h"

namespace ui::win32 {
namespace {

// Containers pass what their children tell them on to the top-level window, which owns the
// logic, the colours and the focus handling.
LRESULT CALLBACK ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN: return SendMessageA(GetAncestor(window, GA_ROOT), message, wParam, lParam);
    case WM_CLOSE:
      // A multi-line edit asks its parent to close on Esc when it believes it sits in a dialog;
      // a page or panel must never destroy itself.
      return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

void PaintBevel(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client;
  GetClientRect(window, &client);
  RECT line = client;
  line.bottom = line.top + 2;
  DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
  EndPaint(window, &paint);
}

LRESULT CALLBACK BevelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCHITTEST: return HTTRANSPARENT;  // the link and buttons lying on it get the mouse
    case WM_PAINT: PaintBevel(window); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

void FillWithParentBackground(HWND window, HDC dc, const RECT& area) {
  const auto brush =
      reinterpret_cast<HBRUSH>(GetClassLongPtrA(GetParent(window), GCLP_HBRBACKGROUND));
  FillRect(dc, &area, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
}

void DrawBitmap(HDC dc, HBITMAP bitmap, const RECT& area) {
  BITMAP info{};
  if (!GetObjectA(bitmap, sizeof(info), &info)) return;
  os::win32::UniqueMemoryDc source(CreateCompatibleDC(dc));
  if (!source) return;
  os::win32::SelectedObject selected(source.Get(), bitmap);
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width == info.bmWidth && height == info.bmHeight) {
    BitBlt(dc, area.left, area.top, width, height, source.Get(), 0, 0, SRCCOPY);
    return;
  }
  SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  StretchBlt(dc, area.left, area.top, width, height, source.Get(), 0, 0, info.bmWidth,
             info.bmHeight, SRCCOPY);
}

void PaintPicture(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client;
  GetClientRect(window, &client);
  FillWithParentBackground(window, dc, client);
  const auto* picture =
      reinterpret_cast<const LoadedPicture*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (picture && picture->bitmap) DrawBitmap(dc, picture->bitmap, client);
  if (picture && picture->icon)
    DrawIconEx(dc, 0, 0, picture->icon, client.right, client.bottom, 0, nullptr, DI_NORMAL);
  EndPaint(window, &paint);
}

LRESULT CALLBACK ImageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_ERASEBKGND: return 1;  // painted whole in WM_PAINT
    case WM_PAINT: PaintPicture(window); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

bool Register(HINSTANCE instance, const char* name, WNDPROC proc, int backgroundColour) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(backgroundColour + 1));
  wc.lpszClassName = name;
  if (RegisterClassExA(&wc)) return true;
  return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

bool RegisterChildClasses(HINSTANCE instance) {
  return Register(instance, kPanelClass, ContainerProc, COLOR_WINDOW) &&
         Register(instance, kNotebookClass, ContainerProc, COLOR_BTNFACE) &&
         Register(instance, kPageClass, ContainerProc, COLOR_BTNFACE) &&
         Register(instance, kBevelClass, BevelProc, COLOR_BTNFACE) &&
         Register(instance, kImageClass, ImageProc, COLOR_BTNFACE);
}

void SetPicture(HWND image, const LoadedPicture* picture) {
  SetWindowLongPtrA(image, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(picture));
  InvalidateRect(image, nullptr, TRUE);
}

}  // namespace ui::win32
