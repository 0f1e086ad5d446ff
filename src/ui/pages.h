#pragma once
// The wizard's pages, by their index in the notebook: the one statement of how many there are.

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

}  // namespace ui
