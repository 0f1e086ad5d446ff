#pragma once
// The pictures of the wizard, loaded from the program's resources in the variant that suits the
// screen's dpi best.
#include "os/win32/unique_handle.h"
#include "ui/win32/child_classes.h"
#include "ui/win32/dpi.h"
#include "ui/wizard_controls.h"

namespace ui::win32 {

class WizardPictures {
 public:
  WizardPictures(HINSTANCE instance, const Dpi& dpi);
  // What a decoration's row asks for; nullptr, nothing to paint, for Picture::kNone.
  const LoadedPicture* Get(Picture picture) const;
  // The program icon in the system's large and small icon sizes, for the window class.
  static HICON ProgramIcon(HINSTANCE instance, bool small);

 private:
  os::win32::UniqueBitmap headerBitmap_;
  os::win32::UniqueIcon folderIcon_;
  LoadedPicture header_;
  LoadedPicture folder_;
};

}  // namespace ui::win32
