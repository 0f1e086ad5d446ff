#pragma once
// TSCRSetup: the wizard window's logic. It is given what start-up read from the setup file and owns
// the control objects; its handlers read and change the controls. The Win32 window (wizard/win32)
// builds the real controls from these objects and turns real events into handler calls via
// Dispatch.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "callable/function_ref.h"
#include "install/install_procedure.h"
#include "integration/run_outcome.h"
#include "os/os.h"
#include "package/extension_block.h"
#include "package/own_package.h"
#include "package/settings_record.h"
#include "ui/controls.h"
#include "ui/form_host.h"
#include "ui/pages.h"

namespace wizard {

// Ends the caller's work without a message; the event dispatch drops it.
class SilentAbort : public std::exception {
 public:
  const char* what() const noexcept override { return "silent abort"; }
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
  // `package` is what start-up read from the setup file; FormCreate shows it.
  TSCRSetup(os::Os& os, ui::FormHost& host, const package::OwnPackage& package = {});

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
  void Dispatch(callable::FunctionRef<void()> handler);

  // Every control, for observers that mirror all of them.
  template <typename F>
  void ForEachControl(F f) {
    for (ui::Control* control : Controls()) f(*control);
  }

  // How the installation ended: kStoppedUnchanged until one has changed the machine.
  const integration::RunOutcome& Ending() const { return ending_; }
  os::Os& Os() { return os_; }
  // The installation writes what it does there.
  void WriteLogTo(runlog::RunLog& log) { log_ = &log; }
  ui::FormHost& Host() { return host_; }

 private:
  // The list ForEachControl walks, made in one place: a call per control spelled out in each
  // walk would repeat the whole table in every one of them.
  std::array<ui::Control*, static_cast<std::size_t>(ui::ControlId::kCount)> Controls();
  install::InstallRequest InstallRequestFor(const std::string& folderText) const;

  os::Os& os_;
  ui::FormHost& host_;
  runlog::RunLog* log_ = nullptr;
  std::string readme_;
  std::string license_;
  integration::RunOutcome ending_;
};

std::string ExpandFolderMacros(os::Os& os, os::WindowRef owner, const std::string& defaultFolder,
                               const std::string& subFolder);
std::string ProgramFilesFolder(os::Os& os, os::WindowRef owner);

}  // namespace wizard
