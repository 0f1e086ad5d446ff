// The wizard's state at construction, the event dispatch and page changes.
#include "wizard/scr_setup.h"

#include <exception>
#include <utility>

#include "language/application_title.h"

namespace wizard {
namespace {

// The caption the window carries until start-up knows the screen saver's title.
constexpr char kDesignCaption[] = "Screen Saver Setup";
// The link label's design text; start-up replaces it by the package's address or hides it.
constexpr char kDesignLink[] = "http://www.example.com";
constexpr char kUnknownError[] = "An unexpected error occurred. The operation was not completed.";

}  // namespace

TSCRSetup::TSCRSetup(os::Os& os, ui::FormHost& host, bool silentMode, std::string folderArgument)
    : os_(os), host_(host), silentMode_(silentMode), folderArgument_(std::move(folderArgument)) {
  Window.SetCaption(kDesignCaption);
  lbTitle.SetCaption("Ready to Install");
  lbDescription.SetCaption("Setup is ready to install Screen Saver.");
  Link.SetCaption(kDesignLink);
  btnBack.SetCaption("< Back");
  btnBack.SetVisible(false);
  btnNext.SetCaption("Next >");
  btnNext.SetEnabled(false);
  btnCancel.SetCaption("Cancel");
  btnBrowse.SetCaption("&Browse...");
  Label1.SetCaption(
      "Select the folder where you would like the Screen Saver to be installed, then click "
      "Install.");
  Label2.SetCaption(
      "Please read the following License Agreement. You must accept the terms of this agreement "
      "before continuing with the installation.");
  Label3.SetCaption("When you are ready, click Next.");
  Label4.SetCaption("Click Finish to exit Setup.");
  Label5.SetCaption(
      "The Setup is ready to install Screen Saver on your computer. Click Install to continue, or "
      "Cancel to exit Setup.");
  rbAccept.SetCaption("I &accept the agreement");
  rbAccept.SetChecked(false);
  rbNotAccept.SetCaption("I &do not accept the agreement");
  rbNotAccept.SetChecked(true);
  // The window is designed with the 'Ready' page showing; start-up picks the real first page.
  Notebook.SetPosition(kPageReady);
  ProgressBar.SetMaximum(100);
  ProgressBar.SetPosition(0);
}

void TSCRSetup::SetPage(int page) {
  if (page == Notebook.Position()) return;
  Notebook.SetPosition(page);
  NotebookPageChanged();
}

void TSCRSetup::Dispatch(const std::function<void()>& handler) {
  std::string failure;
  try {
    handler();
    return;
  } catch (const SilentAbort&) {
    return;
  } catch (const std::exception& e) {
    failure = e.what();
  } catch (...) {
    failure = kUnknownError;
  }
  if (silentMode_) {
    // Nobody can read a message in an unattended run. The exit code tells what was done: the
    // installation rolls back whatever it had written before an error reaches this point.
    host_.Terminate();
    return;
  }
  if (failure.empty()) failure = kUnknownError;
  os_.system.ShowMessage(host_.Handle(), failure, language::kApplicationTitle,
                         os::kMbOk | os::kMbIconError);
}

}  // namespace wizard
