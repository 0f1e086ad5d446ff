// The window's creation: it shows what start-up read from the setup file -- the translated
// controls, the readme and the licence, the first page, the caption, the link and the folder.
#include <string>

#include "language/texts.h"
#include "language/translation.h"
#include "text/text_lines.h"
#include "wizard/scr_setup.h"

namespace wizard {

void TSCRSetup::FormCreate() {
  LangRenameControls();
  if (Record.ReadmeSize() > 0) edReadme.SetLines(text::SplitTextLines(readme_));
  int firstPage = Record.SkipFolderPage() ? kPageReady : kPageDirectory;
  if (Record.LicenseSize() > 0) {
    edLicense.SetLines(text::SplitTextLines(license_));
    firstPage = kPageLicense;
  }
  // The window was built showing 'Ready', so the header must be filled even when that page stays.
  Notebook.SetPosition(firstPage);
  NotebookPageChanged();

  Window.SetCaption(Record.Title() + " " + language::Translate(language::english::kSetup));
  const std::string link = Record.LinkText();
  if (link.empty()) {
    Link.SetVisible(false);
  } else {
    Link.SetCaption(link);
  }
  edDirectory.SetCaption(
      ExpandFolderMacros(os_, host_.Handle(), Record.DefaultFolder(), Record.DefaultSubfolder()));
}

void TSCRSetup::FormDestroy() { language::FreeTranslation(); }

}  // namespace wizard
