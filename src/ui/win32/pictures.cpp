#include "ui/win32/pictures.h"

#include "ui/resource_ids.h"
#include "ui/win32/coded_resource.h"
#include "ui/win32/picture_files.h"

namespace ui::win32 {
namespace {

constexpr int kHeaderSize = 48;
constexpr int kFolderSize = 32;

// The header picture exists at 48 and 96 pixels: at 96 dpi the small one is drawn as it is, at
// any larger size the big one is scaled down, which keeps edges clean.
HBITMAP LoadHeaderBitmap(HINSTANCE instance, int size) {
  const int resource = size <= kHeaderSize ? IDB_HEADER : IDB_HEADER_LARGE;
  HBITMAP bitmap = BitmapFromFile(LoadCodedResource(instance, resource));
  if (!bitmap && resource != IDB_HEADER)
    bitmap = BitmapFromFile(LoadCodedResource(instance, IDB_HEADER));
  return bitmap;
}

}  // namespace

WizardPictures::WizardPictures(HINSTANCE instance, const Dpi& dpi)
    : headerBitmap_(LoadHeaderBitmap(instance, dpi.Scale(kHeaderSize))),
      // The icon file holds several sizes; the system picks the one closest to the asked size.
      folderIcon_(IconFromFile(LoadCodedResource(instance, IDI_FOLDER), dpi.Scale(kFolderSize))) {
  header_.bitmap = headerBitmap_.Get();
  folder_.icon = folderIcon_.Get();
}

const LoadedPicture* WizardPictures::Get(Picture picture) const {
  switch (picture) {
    case Picture::kHeader: return &header_;
    case Picture::kFolder: return &folder_;
    case Picture::kNone: break;
  }
  return nullptr;
}

HICON WizardPictures::ProgramIcon(HINSTANCE instance, bool small) {
  const int size = GetSystemMetrics(small ? SM_CXSMICON : SM_CXICON);
  // Shared: the class keeps it for the life of the process.
  return static_cast<HICON>(
      LoadImageA(instance, MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON, size, size, LR_SHARED));
}

}  // namespace ui::win32
