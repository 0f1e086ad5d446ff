#pragma once
// Every owner of an OS resource the program holds: one move-only template for all of them, whose
// traits type names the "nothing held" value and how the resource is given back (the owner
// releases it on every way out), and the two owners of a pair (a window's DC, a selection).
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <utility>

namespace os::win32 {

template <typename Traits>
class UniqueResource {
 public:
  using Value = typename Traits::Value;

  UniqueResource() = default;
  explicit UniqueResource(Value value) : value_(value) {}
  UniqueResource(UniqueResource&& other) noexcept : value_(other.Release()) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;
  ~UniqueResource() { Reset(); }

  Value Get() const { return value_; }
  bool Valid() const { return Traits::Holds(value_); }
  explicit operator bool() const { return Valid(); }
  // For APIs that hand a new resource out through a pointer: the old one is released first.
  Value* Put() {
    Reset();
    return &value_;
  }
  Value Release() { return std::exchange(value_, Traits::Invalid()); }
  // Releasing keeps the thread's last error: an owner often goes out of scope between a failed
  // call and the GetLastError that explains it.
  void Reset(Value value = Traits::Invalid()) {
    if (Valid()) {
      const DWORD lastError = GetLastError();
      Traits::Close(value_);
      SetLastError(lastError);
    }
    value_ = value;
  }

 private:
  Value value_ = Traits::Invalid();
};

// How each resource is given back, and its "nothing held" value: null for most, but
// CreateFileA and FindFirstFileA report failure with INVALID_HANDLE_VALUE. Null is no file handle
// either: no call hands it out for an open file, and closing it would only fail.
template <typename Resource, auto close>
struct NullMeansNone {
  using Value = Resource;
  static Value Invalid() { return nullptr; }
  static bool Holds(Value value) { return value != nullptr; }
  static void Close(Value value) { close(value); }
};
template <auto close>
struct InvalidHandleMeansNone {
  using Value = HANDLE;
  static Value Invalid() { return INVALID_HANDLE_VALUE; }
  static bool Holds(Value value) { return value != INVALID_HANDLE_VALUE && value != nullptr; }
  static void Close(Value value) { close(value); }
};

using UniqueFile = UniqueResource<InvalidHandleMeansNone<&CloseHandle>>;
using UniqueHandle = UniqueResource<NullMeansNone<HANDLE, &CloseHandle>>;
using UniqueFind = UniqueResource<InvalidHandleMeansNone<&FindClose>>;
using UniqueHkey = UniqueResource<NullMeansNone<HKEY, &RegCloseKey>>;
using UniquePidl = UniqueResource<NullMeansNone<LPITEMIDLIST, &CoTaskMemFree>>;
// GDI objects, icons and memory device contexts of the window.
using UniqueFont = UniqueResource<NullMeansNone<HFONT, &DeleteObject>>;
using UniqueBitmap = UniqueResource<NullMeansNone<HBITMAP, &DeleteObject>>;
using UniqueIcon = UniqueResource<NullMeansNone<HICON, &DestroyIcon>>;
using UniqueMemoryDc = UniqueResource<NullMeansNone<HDC, &DeleteDC>>;
using UniqueWindow = UniqueResource<NullMeansNone<HWND, &DestroyWindow>>;

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
  SelectedObject(HDC dc, HGDIOBJ object)
      : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() {
    if (previous_) SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// COM on this thread for the lifetime of the object. CoInitialize must be balanced even when it
// answers S_FALSE (already initialised), and only then.
class ComApartment {
 public:
  ComApartment() : result_(CoInitialize(nullptr)) {}
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }

 private:
  HRESULT result_;
};

}  // namespace os::win32
