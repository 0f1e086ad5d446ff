#pragma once
// One move-only owner per GDI object, icon and device context used by the window.
#include <windows.h>

#include <utility>

namespace ui::win32 {

template <typename Handle, typename Deleter>
class UniqueGdi {
 public:
  UniqueGdi() = default;
  explicit UniqueGdi(Handle handle) : handle_(handle) {}
  UniqueGdi(UniqueGdi&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  UniqueGdi& operator=(UniqueGdi&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  UniqueGdi(const UniqueGdi&) = delete;
  UniqueGdi& operator=(const UniqueGdi&) = delete;
  ~UniqueGdi() { Reset(nullptr); }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void Reset(Handle handle) {
    if (handle_) Deleter{}(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = nullptr;
};

struct GdiObjectDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct IconDeleter {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};
struct MemoryDcDeleter {
  void operator()(HDC dc) const { DeleteDC(dc); }
};

using UniqueFont = UniqueGdi<HFONT, GdiObjectDeleter>;
using UniqueBitmap = UniqueGdi<HBITMAP, GdiObjectDeleter>;
using UniqueIcon = UniqueGdi<HICON, IconDeleter>;
using UniqueMemoryDc = UniqueGdi<HDC, MemoryDcDeleter>;

// A window's device context from GetDC, released with ReleaseDC.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// Selects an object into a device context and puts the previous one back on the way out.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() {
    if (previous_) SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace ui::win32
