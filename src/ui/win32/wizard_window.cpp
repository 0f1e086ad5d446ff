#include "ui/win32/wizard_window.h"

#include "ui/win32/wizard_form.h"

namespace ui::win32 {

int RunWizardWindow(os::Os& os, const setup::CommandLine& commandLine, bool silentMode) {
  WizardForm form(os, commandLine, silentMode);
  return form.Run();
}

}  // namespace ui::win32
