#pragma once
// What the wizard's logic asks of the window and the application around it. The Win32 window
// implements it; the unit tests use a recording double.
#include <string>

#include "os/shell.h"
#include "ui/controls.h"

namespace ui {

class FormHost {
 public:
  virtual ~FormHost() = default;
  virtual os::WindowRef Handle() = 0;
  virtual void Close() = 0;                         // close the main window: the program ends
  virtual void SetWindowEnabled(bool enabled) = 0;  // the whole window takes no input while off
  virtual void SetBusyCursor(bool busy) = 0;        // application-wide hourglass
  virtual void RepaintNow(ControlId id) = 0;        // paint one control at once
  virtual void ProcessMessages() = 0;               // serve every waiting window message
  virtual void Focus(ControlId id) = 0;
};

}  // namespace ui
