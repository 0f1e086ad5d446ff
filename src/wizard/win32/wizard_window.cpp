#include "wizard/win32/wizard_window.h"

#include "wizard/win32/wizard_form.h"

namespace wizard::win32 {

int RunWizardWindow(os::Os& os, bool silentMode, const UnattendedOptions& unattended) {
  WizardForm form(os, silentMode, unattended);
  return form.Run();
}

}  // namespace wizard::win32
