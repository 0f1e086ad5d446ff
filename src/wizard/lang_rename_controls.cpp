#include "language/translation.h"
#include "wizard/scr_setup.h"

namespace wizard {

void TSCRSetup::LangRenameControls() {
  ForEachControl([](ui::Control& control) {
    const ui::Caption& caption = ui::CaptionOf(control.Id());
    if (caption.translated) control.SetCaption(language::CaptionText(caption));
  });
  for (int page = 0; page < kPageCount; ++page) {
    language::PageTitles[page] = language::Translate(ui::kPageTexts[page].title);
    language::PageDescriptions[page] = language::Translate(ui::kPageTexts[page].description);
  }
}

}  // namespace wizard
