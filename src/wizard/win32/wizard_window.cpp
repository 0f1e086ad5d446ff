#include "wizard/win32/wizard_window.h"

#include "wizard/win32/wizard_form.h"

namespace wizard::win32 {

integration::RunOutcome RunWizardWindow(os::Os& os, const package::OwnPackage& package,
                                        runlog::RunLog& log) {
  WizardForm form(os, package);
  form.Setup().WriteLogTo(log);
  return form.Run();
}

}  // namespace wizard::win32
