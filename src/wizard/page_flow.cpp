// Moving between the wizard's pages: what each page shows in the header and the button row, and
// what the buttons, the licence choice, the link and the Esc key do.
#include <string>

#include "language/texts.h"
#include "language/translation.h"
#include "text/path_parts.h"
#include "wizard/scr_setup.h"

namespace wizard {
namespace {

std::string NextCaption() { return language::CaptionText(ui::CaptionOf(ui::ControlId::btnNext)); }

}  // namespace

void TSCRSetup::NotebookPageChanged() {
  const int page = Notebook.Position();
  if (page < 0 || page >= kPageCount) return;
  lbTitle.SetCaption(language::PageTitles[page]);
  lbDescription.SetCaption(language::PageDescriptions[page]);
  btnNext.SetVisible(true);
  const bool hasLicense = Record.LicenseSize() != 0;
  switch (page) {
    case kPageLicense:
      btnNext.SetCaption(NextCaption());
      btnBack.SetVisible(true);
      break;
    case kPageDirectory:
    case kPageReady:
      btnNext.SetCaption(language::Translate(language::english::kInstall));
      btnNext.SetEnabled(true);
      btnBack.SetVisible(hasLicense);
      break;
    case kPageProgress:
    case kPageReadme:
      btnNext.SetCaption(NextCaption());
      btnBack.SetVisible(false);
      btnCancel.SetEnabled(false);
      break;
    case kPageFinished:
      btnNext.SetCaption(language::Translate(language::english::kFinish));
      btnBack.SetVisible(false);
      btnCancel.SetEnabled(false);
      break;
  }
}

// A silent abort from the installation leaves this handler at once: the installation has
// already put the wizard back on the page the user has to correct.
void TSCRSetup::btnNextClick() {
  if (CurrentPage() == kPageDirectory || CurrentPage() == kPageReady) btnOKClick();
  const int page = CurrentPage();
  if (page == kPageLicense && Record.SkipFolderPage()) {
    SetPage(kPageReady);
  } else if (page == kPageFinished) {
    host_.Close();
  } else if (page >= 0 && page < kPageFinished) {
    SetPage(page + 1);
  }
}

// 'Ready' is reached from 'License' only when the folder page is skipped, and Back is shown on
// it only when there is a licence, so going back from it always means the licence page.
void TSCRSetup::btnBackClick() {
  const int page = CurrentPage();
  if (page == kPageReady) {
    SetPage(kPageLicense);
  } else if (page > kPageLicense) {
    SetPage(page - 1);
  }
}

void TSCRSetup::rbAcceptClick() {
  const bool accepted = rbAccept.Checked();
  btnNext.SetEnabled(accepted);
  if (accepted) host_.Focus(ui::ControlId::btnNext);
}

void TSCRSetup::btnCancelClick() { host_.Close(); }

void TSCRSetup::LinkClick() {
  const std::string address = Record.LinkText();
  if (address.empty()) return;  // the label is hidden then; nothing to open
  os_.shell.Execute(host_.Handle(), "", address, "", "", os::kSwShowNormal);
}

void TSCRSetup::btnBrowseClick() {
  const auto chosen = os_.shell.BrowseForFolder(
      host_.Handle(), language::Translate(language::english::kBrowse), edDirectory.Caption());
  if (!chosen || chosen->empty()) return;
  edDirectory.SetCaption(text::WithoutTrailingBackslashesButDriveRoot(*chosen));
}

// Every button of the row answers Esc; the first one that can be clicked takes it. The memo
// boxes keep Esc while they have the focus.
void TSCRSetup::EscapePressed(bool memoHasFocus) {
  if (memoHasFocus) return;
  struct Candidate {
    ui::Control& button;
    void (TSCRSetup::*click)();
  };
  const Candidate candidates[] = {{btnCancel, &TSCRSetup::btnCancelClick},
                                  {btnBack, &TSCRSetup::btnBackClick},
                                  {btnNext, &TSCRSetup::btnNextClick}};
  for (const Candidate& c : candidates) {
    if (c.button.Visible() && c.button.Enabled()) {
      Dispatch([this, &c] { (this->*c.click)(); });
      return;
    }
  }
}

}  // namespace wizard
