#include "wizard/win32/wizard_window.h"

#include "wizard/win32/wizard_form.h"

namespace wizard::win32 {

int RunWizardWindow(os::Os& os, bool silentMode, const std::string& folderArgument) {
  WizardForm form(os, silentMode, folderArgument);
  return form.Run();
}

}  // namespace wizard::win32
