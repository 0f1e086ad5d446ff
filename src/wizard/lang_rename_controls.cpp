#include "language/translation.h"
#include "wizard/scr_setup.h"

namespace wizard {

using language::Translate;

void TSCRSetup::LangRenameControls() {
  btnBack.SetCaption("< " + Translate("Back"));
  btnBrowse.SetCaption(Translate("&Browse") + "...");
  btnCancel.SetCaption(Translate("Cancel"));
  btnNext.SetCaption(Translate("Next") + " >");
  Label1.SetCaption(
      Translate("Select the folder where you would like the Screen Saver to be installed, then "
                "click Install."));
  Label2.SetCaption(Translate(
      "Please read the following License Agreement. You must accept the terms of this agreement "
      "before continuing with the installation."));
  Label3.SetCaption(Translate("When you are ready, click Next."));
  Label4.SetCaption(Translate("Click Finish to exit Setup."));
  Label5.SetCaption(Translate(
      "The Setup is ready to install Screen Saver on your computer. Click Install to continue, or "
      "Cancel to exit Setup."));
  rbAccept.SetCaption(Translate("I &accept the agreement"));
  rbNotAccept.SetCaption(Translate("I &do not accept the agreement"));

  // The licence and readme pages share one description.
  const std::string readFirst =
      "Please read the following important information before continuing.";
  language::PageTitles = {
      Translate("License Agreement"), Translate("Select Destination Directory"),
      Translate("Ready to Install"),  Translate("Installing"),
      Translate("Information"),       Translate("Finish"),
  };
  language::PageDescriptions = {
      Translate(readFirst),
      Translate("Where should Screen Saver be installed?"),
      Translate("Setup is ready to install Screen Saver."),
      Translate("Please wait while Setup installs Screen Saver."),
      Translate(readFirst),
      Translate("The Setup has completed successfully."),
  };
}

}  // namespace wizard
