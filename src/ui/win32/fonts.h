#pragma once
// The wizard's three fonts: Tahoma 8 for everything, Tahoma 11 for the page title, and Tahoma 8
// underlined for the link.
#include "os/win32/unique_handle.h"
#include "ui/win32/dpi.h"
#include "ui/wizard_controls.h"

namespace ui::win32 {

class WizardFonts {
 public:
  explicit WizardFonts(const Dpi& dpi);
  HFONT Get(TextFont font) const;

 private:
  os::win32::UniqueFont normal_;
  os::win32::UniqueFont title_;
  os::win32::UniqueFont link_;
};

}  // namespace ui::win32
