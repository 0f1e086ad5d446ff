#pragma once
// Where every child window of the wizard sits, at 96 dpi, relative to its parent, in creation
// order. Creation order is tab order and z-order: earlier windows lie on top and are reached
// first by Tab, so the bevels that the button row overlaps come last.
#include <cstddef>
#include <optional>

#include "ui/controls.h"
#include "ui/pages.h"

namespace ui::win32 {

enum class ChildKind {
  kPanel,     // white header band
  kBevel,     // etched line along its top edge
  kNotebook,  // holds the pages
  kPage,      // one page of the notebook
  kLabel,
  kLink,
  kImage,  // a picture painted by the window itself
  kButton,
  kRadio,
  kMemo,  // multi-line edit with a vertical scroll bar
  kReadOnlyMemo,
  kEdit,
  kProgress,
};

// How a label follows its text.
enum class Sizing {
  kFixed,
  kToText,         // grows to the right (and down for explicit line breaks)
  kToTextWrapped,  // keeps its width and grows down
};

struct Bounds {
  int left, top, width, height;
};

enum class TextFont { kNormal, kTitle, kLink };

struct ChildSpec {
  int id;
  int parentId;  // 0: the window itself
  ChildKind kind;
  Bounds bounds;
  Sizing sizing;
  std::optional<ControlId> control;  // the logic's control object it mirrors, if any
  TextFont font;
  bool tabStop;
  // A label above this control: when its text needs more lines than designed, this control's
  // top moves down to keep the designed gap (its bottom stays), so no text lies under it.
  int keepsClearOf = 0;
};

constexpr int kWindowParent = 0;
constexpr int kClientWidth = 513;
constexpr int kClientHeight = 370;

// Every child window in creation order.
const ChildSpec* ChildSpecs(std::size_t& count);
// The child window that mirrors a control object (0 for the window itself).
int ChildIdOf(ControlId control);

}  // namespace ui::win32
