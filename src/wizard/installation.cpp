// The Install button: the window hands the installation what the user chose, shows its progress,
// and then shows what the installation says is to be shown.
#include "install/install_procedure.h"
#include "language/application_title.h"
#include "wizard/after_install.h"
#include "wizard/scr_setup.h"

namespace wizard {
namespace {

// The progress page during the copy: the window takes no input and the hourglass shows, and the
// bar moves and the window is served after each chunk.
class ProgressPage : public install::InstallProgress {
 public:
  explicit ProgressPage(TSCRSetup& form) : form_(form), host_(form.Host()) {}
  void CopyBegins() override {
    host_.SetWindowEnabled(false);
    host_.SetBusyCursor(true);
  }
  void CopyEnds() override {
    host_.SetBusyCursor(false);
    host_.SetWindowEnabled(true);
  }
  void Percent(int percent) override {
    form_.ProgressBar.SetPosition(percent);
    host_.RepaintNow(ui::ControlId::ProgressBar);
    host_.ProcessMessages();
  }

 private:
  TSCRSetup& form_;
  ui::FormHost& host_;
};

}  // namespace

AfterInstall AfterInstallation(const install::InstallOutcome& outcome, bool hasReadme) {
  switch (outcome.result) {
    case install::InstallResult::kStoppedUnchanged: return {PageAfter::kDirectory, false};
    case install::InstallResult::kDone:
      return {hasReadme ? PageAfter::kUnchanged : PageAfter::kFinished, false};
    case install::InstallResult::kFailedPartWay: break;
  }
  return {PageAfter::kUnchanged, true};
}

install::InstallRequest TSCRSetup::InstallRequestFor(const std::string& folderText) const {
  install::InstallRequest request{folderText,           edReadme.Lines(), Record, PackageEnd,
                                  /*unattended=*/false, Extension};
  request.log = log_;
  return request;
}

void TSCRSetup::btnOKClick() {
  SetPage(kPageProgress);
  btnNext.SetVisible(false);
  ProgressBar.SetMaximum(100);
  ProgressPage progress(*this);
  const install::InstallOutcome outcome =
      install::InstallScreenSaver(os_, InstallRequestFor(edDirectory.Caption()), progress);

  // Not EndProgram: the window is showing, and it either stays open (for the readme, for Finish,
  // for another folder) or closes as Cancel closes it. The program ends when the window closes,
  // which runs FormDestroy on the way; until then only how the installation ended is noted.
  if (!outcome.checkedFolder.empty()) edDirectory.SetCaption(outcome.checkedFolder);
  if (outcome.result != install::InstallResult::kStoppedUnchanged) ending_ = outcome;
  if (outcome.message) {
    const bool windowCaption = outcome.message->caption == install::MessageCaption::kSetupWindow;
    os_.system.ShowMessage(host_.Handle(), outcome.message->text,
                           windowCaption ? Window.Caption() : language::kApplicationTitle,
                           os::kMbOk | os::kMbIconError);
  }
  const AfterInstall after = AfterInstallation(outcome, Record.ReadmeSize() > 0);
  if (after.page == PageAfter::kFinished) SetPage(kPageFinished);
  if (after.page == PageAfter::kDirectory) {
    // The user has to choose another folder: the window stays open, and the handler that
    // pressed Install goes no further.
    SetPage(kPageDirectory);
    throw SilentAbort();
  }
  // A failed attempt cannot be repeated: the window closes as the Cancel button closes it.
  if (after.closeWindow) host_.Close();
}

}  // namespace wizard
