// The wizard's state at construction, the event dispatch and page changes.
#include "wizard/scr_setup.h"

#include <exception>

#include "language/application_title.h"

namespace wizard {
namespace {

constexpr char kUnknownError[] = "An unexpected error occurred. The operation was not completed.";

}  // namespace

TSCRSetup::TSCRSetup(os::Os& os, ui::FormHost& host, const package::OwnPackage& package)
    : PackageEnd(package.packageEnd),
      Record(package.record),
      Extension(package.extension),
      LanguageText(package.languageText),
      os_(os),
      host_(host),
      readme_(package.readme),
      license_(package.license) {
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

std::array<ui::Control*, static_cast<std::size_t>(ui::ControlId::kCount)> TSCRSetup::Controls() {
  return {&Window,
#define SCR_CONTROL_POINTER(name, ...) &name,
          SCR_WIZARD_CHILDREN(SCR_CONTROL_POINTER, SCR_ROW_IGNORED)
#undef SCR_CONTROL_POINTER
  };
}

void TSCRSetup::SetPage(int page) {
  if (page == Notebook.Position()) return;
  Notebook.SetPosition(page);
  NotebookPageChanged();
}

void TSCRSetup::Dispatch(callable::FunctionRef<void()> handler) {
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
  if (failure.empty()) failure = kUnknownError;
  os_.system.ShowMessage(host_.Handle(), failure, language::kApplicationTitle,
                         os::kMbOk | os::kMbIconError);
}

}  // namespace wizard
