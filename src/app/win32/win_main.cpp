// The program's entry: the DLL search is protected first, then the file-removal mode runs before
// anything of the GUI exists; every other run gets COM and the common controls, then the wizard
// window and its message loop.
#include <windows.h>
#include <commctrl.h>

#include "app/command_line.h"
#include "app/program.h"
#include "app/unattended_switches.h"
#include "os/win32/unique_handle.h"
#include "os/win32/win_os.h"
#include "wizard/win32/wizard_window.h"

namespace {

int RunGui(os::Os& os, const app::CommandLine& commandLine) {
  // The folder dialog and the shell links need COM on this, the only thread.
  os::win32::ComApartment apartment;
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&controls);
  const bool silentMode = app::IsSilentSwitch(commandLine);
  return wizard::win32::RunWizardWindow(os, silentMode, app::ReadUnattendedOptions(commandLine));
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  os::win32::WinOs winOs;
  os::Os os = winOs.Os();
  return app::RunProgram(
      os, [&os](const app::CommandLine& commandLine) { return RunGui(os, commandLine); });
}
