// The wizard's state at construction, the event dispatch and page changes.
#include "wizard/scr_setup.h"

#include <exception>
#include <utility>

#include "language/application_title.h"

namespace wizard {
namespace {

constexpr char kUnknownError[] = "An unexpected error occurred. The operation was not completed.";

}  // namespace

TSCRSetup::TSCRSetup(os::Os& os, ui::FormHost& host, bool silentMode, UnattendedOptions unattended)
    : os_(os), host_(host), silentMode_(silentMode), unattended_(std::move(unattended)) {
  if (!silentMode_) unattended_ = UnattendedOptions{};
  ForEachControl([](ui::Control& control) {
    const ui::Caption& caption = ui::CaptionOf(control.Id());
    if (caption.text) control.SetCaption(ui::DesignText(caption));
  });
  // The window is designed with the 'Ready' page showing; start-up picks the real first page.
  Notebook.SetPosition(kPageReady);
  lbTitle.SetCaption(ui::kPageTexts[kPageReady].title);
  lbDescription.SetCaption(ui::kPageTexts[kPageReady].description);
  btnBack.SetVisible(false);
  btnNext.SetEnabled(false);
  rbNotAccept.SetChecked(true);
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
    EndProgram(exitCode_);
    return;
  }
  if (failure.empty()) failure = kUnknownError;
  os_.system.ShowMessage(host_.Handle(), failure, language::kApplicationTitle,
                         os::kMbOk | os::kMbIconError);
}

void TSCRSetup::EndProgram(int exitCode, const EndMessage* message) {
  exitCode_ = exitCode;
  if (message && !message->text.empty() && (!silentMode_ || message->evenWhenSilent))
    os_.system.ShowMessage(message->owner, message->text, message->caption,
                           os::kMbOk | message->icon);
  host_.Terminate();
}

}  // namespace wizard
