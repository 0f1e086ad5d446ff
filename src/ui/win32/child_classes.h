#pragma once
// The window classes of the wizard's own child windows: the containers (header band, notebook,
// pages), the etched bevel line and the picture.
#include <windows.h>

namespace ui::win32 {

constexpr char kPanelClass[] = "TSCRPanel";
constexpr char kNotebookClass[] = "TSCRNotebook";
constexpr char kPageClass[] = "TSCRPage";
constexpr char kBevelClass[] = "TSCRBevel";
constexpr char kImageClass[] = "TSCRImage";

// What a picture window paints, scaled to its size: a bitmap or an icon (one of them).
struct LoadedPicture {
  HBITMAP bitmap = nullptr;
  HICON icon = nullptr;
};

// Registers the classes once per process; false when the system refused one.
bool RegisterChildClasses(HINSTANCE instance);
// Gives a picture window what to paint; the picture must outlive the window.
void SetPicture(HWND image, const LoadedPicture* picture);

}  // namespace ui::win32
