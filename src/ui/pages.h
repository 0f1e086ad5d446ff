#pragma once
// The wizard's pages, by their index in the notebook: the one statement of how many there are and
// of the English title and description each shows in the header.

namespace ui {

enum Page : int {
  kPageLicense = 0,
  kPageDirectory = 1,
  kPageReady = 2,
  kPageProgress = 3,
  kPageReadme = 4,
  kPageFinished = 5,
};
constexpr int kPageCount = kPageFinished + 1;

struct PageTexts {
  const char* title;
  const char* description;
};

// The licence and readme pages share one description.
inline constexpr char kReadFirst[] =
    "Please read the following important information before continuing.";

// English texts of each page header; a language file translates them.
inline constexpr PageTexts kPageTexts[kPageCount] = {
    {"License Agreement", kReadFirst},
    {"Select Destination Directory", "Where should Screen Saver be installed?"},
    {"Ready to Install", "Setup is ready to install Screen Saver."},
    {"Installing", "Please wait while Setup installs Screen Saver."},
    {"Information", kReadFirst},
    {"Finish", "The Setup has completed successfully."},
};

}  // namespace ui
