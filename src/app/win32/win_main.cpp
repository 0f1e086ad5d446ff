// The program's entry: the DLL search is protected first, then the file-removal mode runs before
// anything of the GUI exists; every other run gets COM and the common controls, then start-up,
// which runs the mode the setup file asks for with the windows it needs.
#include <windows.h>
#include <commctrl.h>

#include "app/command_line.h"
#include "app/program.h"
#include "app/start_up.h"
#include "os/win32/unique_handle.h"
#include "os/win32/win_os.h"
#include "wizard/win32/wizard_window.h"

namespace {

class WinWindows : public app::Windows {
 public:
  explicit WinWindows(os::Os& os) : os_(os) {}

  integration::RunOutcome RunWizard(const package::OwnPackage& package,
                                    runlog::RunLog& log) override {
    return wizard::win32::RunWizardWindow(os_, package, log);
  }

  // A popup that is never shown: the uninstaller's boxes belong to it rather than to no window,
  // so that they stay in front of whatever started the uninstaller.
  os::WindowRef HiddenOwner() override {
    if (!owner_)
      owner_.Reset(CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), nullptr));
    return reinterpret_cast<os::WindowRef>(owner_.Get());
  }

 private:
  os::Os& os_;
  os::win32::UniqueWindow owner_;
};

int RunGui(os::Os& os, const app::CommandLine& commandLine, runlog::RunLog& log) {
  // The folder dialog and the shell links need COM on this, the only thread.
  os::win32::ComApartment apartment;
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&controls);
  WinWindows windows(os);
  return app::StartUp(os, commandLine, windows, log);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  os::win32::WinOs winOs;
  os::Os os = winOs.Os();
  return app::RunProgram(os, [&os](const app::CommandLine& commandLine, runlog::RunLog& log) {
    return RunGui(os, commandLine, log);
  });
}
