#pragma once
// TSCRSetup: the wizard window's logic. It owns the control objects, the settings record and the
// package position; its handlers read and change the controls. The Win32 window (wizard/win32)
// builds the real controls from these objects and turns real events into handler calls via
// Dispatch.
#include <cstdint>
#include <functional>
#include <string>

#include "install/install_procedure.h"
#include "language/application_title.h"
#include "os/os.h"
#include "package/extension_block.h"
#include "package/read_source.h"
#include "package/settings_record.h"
#include "ui/controls.h"
#include "ui/form_host.h"
#include "ui/pages.h"
#include "wizard/exit_codes.h"

namespace wizard {

// Ends the caller's work without a message; the event dispatch drops it.
class SilentAbort : public std::exception {
 public:
  const char* what() const noexcept override { return "silent abort"; }
};

// The box the program ends with, one OK button. None is shown for an empty text, nor in silent
// mode unless `evenWhenSilent`.
struct EndMessage {
  std::string text;
  const char* caption = language::kApplicationTitle;  // not owned: outlives the box
  unsigned icon = os::kMbIconError;
  os::WindowRef owner = 0;
  bool evenWhenSilent = false;
};

// What an unattended run is told on its command line besides "-silent".
struct UnattendedOptions {
  std::string folder;                // empty: the default folder
  bool removeWithoutAsking = false;  // the uninstaller's "-yes": no question, no box at all
  bool shellInstall = true;          // off: the shell's "install" verb is left out
};

using ui::kPageCount;
using ui::kPageDirectory;
using ui::kPageFinished;
using ui::kPageLicense;
using ui::kPageProgress;
using ui::kPageReadme;
using ui::kPageReady;
using ui::Page;

class TSCRSetup {
 public:
  // `unattended` is read from the command line; it counts only in silent mode.
  TSCRSetup(os::Os& os, ui::FormHost& host, bool silentMode, UnattendedOptions unattended = {});

  // The control objects: Window (its caption is the window caption), then one member per
  // control row of the wizard's child table, named as the row. Notebook.Position() is the page
  // index; edDirectory's Caption() is its text; the memo boxes hold Lines(); the progress bar
  // has Position() and Maximum().
  ui::Control Window{ui::ControlId::Window};
#define SCR_CONTROL_MEMBER(name, ...) ui::Control name{ui::ControlId::name};
  SCR_WIZARD_CHILDREN(SCR_CONTROL_MEMBER, SCR_ROW_IGNORED)
#undef SCR_CONTROL_MEMBER

  int64_t PackageEnd = 0;
  package::SettingsRecord Record;
  package::ExtensionBlock Extension;  // empty when the setup file carries none
  std::string LanguageText;

  // Event handlers.
  void btnCancelClick();
  void btnOKClick();  // the installation
  void btnBrowseClick();
  void LinkClick();
  void FormCreate();
  void NotebookPageChanged();
  void btnBackClick();
  void btnNextClick();
  void rbAcceptClick();
  void LangRenameControls();
  void FormDestroy();
  // Esc: clicks the first visible and enabled of btnCancel, btnBack, btnNext, unless a memo box
  // has the focus.
  void EscapePressed(bool memoHasFocus);

  // Shows a page: when it differs from the page showing, NotebookPageChanged runs.
  void SetPage(int page);
  int CurrentPage() const { return Notebook.Position(); }

  // Runs one event handler the way the window's event dispatch does: the silent abort is
  // dropped, any other error is shown with its text (not in silent mode).
  void Dispatch(const std::function<void()>& handler);

  // Every control, for observers that mirror all of them.
  template <typename F>
  void ForEachControl(F f) {
    f(Window);
#define SCR_CONTROL_CALL(name, ...) f(name);
    SCR_WIZARD_CHILDREN(SCR_CONTROL_CALL, SCR_ROW_IGNORED)
#undef SCR_CONTROL_CALL
  }

  bool SilentMode() const { return silentMode_; }
  int ExitCode() const { return exitCode_; }
  os::Os& Os() { return os_; }
  ui::FormHost& Host() { return host_; }

 private:
  // Start-up's reads of the package (true: a setup file) and the unattended installation.
  bool ReadPackageIntoWizard(package::ReadSource& source);
  void RunUnattendedInstallation();
  install::InstallRequest InstallRequestFor(const std::string& folderText) const;
  // The one way the program ends by itself: the exit code, the message, then the end of the
  // message loop. (A shown window ends the program by closing, as Cancel closes it.)
  void EndProgram(int exitCode, const EndMessage* message = nullptr);

  os::Os& os_;
  ui::FormHost& host_;
  bool silentMode_;
  UnattendedOptions unattended_;
  int exitCode_ = kExitStoppedUnchanged;  // until something has been done
};

std::string ExpandFolderMacros(os::Os& os, os::WindowRef owner, const std::string& defaultFolder,
                               const std::string& subFolder);
std::string ProgramFilesFolder(os::Os& os, os::WindowRef owner);

}  // namespace wizard
