#pragma once
// The wizard's child windows, one row each, in creation order. A row is all there is to know
// about a child: the logic's control object (for CONTROL rows, a TSCRSetup member of that name
// and its ControlId), the child window's ID, where it sits at 96 dpi relative to its parent, its
// kind, how it follows its text, its font, whether Tab stops on it, its English caption and the
// text a language file translates. Adding a control is adding a row.
//
// Creation order is tab order and z-order: earlier windows lie on top and are reached first by
// Tab, so the bevels that the button row overlaps come last. In the button row Tab goes to Next,
// Cancel, the page's own controls, then Back. The pages are the kPage rows, in page order.
#include <cstddef>
#include <optional>

#include "ui/caption.h"
#include "ui/pages.h"

namespace ui {

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

enum class TextFont { kNormal, kTitle, kLink };

// clang-format off
//
// CONTROL(name, parent, kind, left, top, width, height, sizing, font, tabStop, keepsClearOf, caption)
//   A child the logic reads and changes. keepsClearOf names a label above it: when that label's
//   text needs more lines than designed, this control's top moves down to keep the designed gap
//   (its bottom stays), so no text lies under it. NoChild: none.
// DECORATION(name, parent, kind, left, top, width, height)
//   A child only the window knows: the header band, the pages, the pictures, the bevels.
// parent: an earlier row, or Window.
#define SCR_WIZARD_CHILDREN(CONTROL, DECORATION)                                                   \
  DECORATION(Panel2,        Window,      kPanel,        0,   0,   513, 65)                         \
  CONTROL(lbTitle,          Panel2,      kLabel,        18,  12,  177, 18,  kToText,        kTitle,  false, NoChild, NoCaption()) \
  CONTROL(lbDescription,    Panel2,      kLabel,        40,  34,  195, 13,  kToText,        kNormal, false, NoChild, NoCaption()) \
  DECORATION(Image2,        Panel2,      kImage,        456, 8,   48,  48)                         \
  CONTROL(btnNext,          Window,      kButton,       337, 336, 80,  25,  kFixed,         kNormal, true,  NoChild, Translated("", "Next", " >")) \
  CONTROL(btnCancel,        Window,      kButton,       424, 336, 81,  25,  kFixed,         kNormal, true,  NoChild, Translated("Cancel")) \
  CONTROL(Notebook,         Window,      kNotebook,     8,   72,  497, 249, kFixed,         kNormal, false, NoChild, NoCaption()) \
  DECORATION(PageLicense,   Notebook,    kPage,         0,   0,   497, 249)                        \
  CONTROL(Label2,           PageLicense, kLabel,        32,  8,   417, 26,  kFixed,         kNormal, false, NoChild, \
          Translated("Please read the following License Agreement. You must accept the terms of this agreement before continuing with the installation.")) \
  CONTROL(edLicense,        PageLicense, kReadOnlyMemo, 32,  48,  433, 145, kFixed,         kNormal, true,  NoChild, NoCaption()) \
  CONTROL(rbAccept,         PageLicense, kRadio,        32,  200, 217, 17,  kFixed,         kNormal, true,  NoChild, Translated("I &accept the agreement")) \
  CONTROL(rbNotAccept,      PageLicense, kRadio,        32,  220, 249, 17,  kFixed,         kNormal, true,  NoChild, Translated("I &do not accept the agreement")) \
  DECORATION(PageDirectory, Notebook,    kPage,         0,   0,   497, 249)                        \
  DECORATION(Image1,        PageDirectory, kImage,      32,  8,   32,  32)                         \
  CONTROL(Label1,           PageDirectory, kLabel,      80,  8,   345, 26,  kToTextWrapped, kNormal, false, NoChild, \
          Translated("Select the folder where you would like the Screen Saver to be installed, then click Install.")) \
  CONTROL(btnBrowse,        PageDirectory, kButton,     384, 46,  83,  25,  kFixed,         kNormal, true,  NoChild, Translated("", "&Browse", "...")) \
  CONTROL(edDirectory,      PageDirectory, kEdit,       32,  48,  345, 21,  kFixed,         kNormal, true,  NoChild, NoCaption()) \
  DECORATION(PageReady,     Notebook,    kPage,         0,   0,   497, 249)                        \
  CONTROL(Label5,           PageReady,   kLabel,        32,  8,   417, 26,  kFixed,         kNormal, false, NoChild, \
          Translated("The Setup is ready to install Screen Saver on your computer. Click Install to continue, or Cancel to exit Setup.")) \
  DECORATION(PageProgress,  Notebook,    kPage,         0,   0,   497, 249)                        \
  CONTROL(ProgressBar,      PageProgress, kProgress,    32,  32,  433, 25,  kFixed,         kNormal, false, NoChild, NoCaption()) \
  DECORATION(PageReadme,    Notebook,    kPage,         0,   0,   497, 249)                        \
  CONTROL(Label3,           PageReadme,  kLabel,        32,  8,   155, 13,  kToTextWrapped, kNormal, false, NoChild, Translated("When you are ready, click Next.")) \
  CONTROL(edReadme,         PageReadme,  kMemo,         32,  32,  433, 193, kFixed,         kNormal, true,  Label3,  NoCaption()) \
  DECORATION(PageFinished,  Notebook,    kPage,         0,   0,   497, 249)                        \
  CONTROL(Label4,           PageFinished, kLabel,       32,  8,   120, 13,  kToText,        kNormal, false, NoChild, Translated("Click Finish to exit Setup.")) \
  CONTROL(btnBack,          Window,      kButton,       256, 336, 81,  25,  kFixed,         kNormal, true,  NoChild, Translated("< ", "Back", "")) \
  CONTROL(Link,             Window,      kLink,         8,   342, 99,  13,  kToText,        kLink,   false, NoChild, Fixed("http://www.example.com")) \
  DECORATION(Bevel2,        Window,      kBevel,        0,   65,  513, 9)                          \
  DECORATION(Bevel1,        Window,      kBevel,        0,   325, 513, 45)

// Stands for the kind of row an expansion of the table leaves out.
#define SCR_ROW_IGNORED(...)

// The logic's control objects: the window itself, then one per CONTROL row.
enum class ControlId {
  Window,  // its caption is the window caption
#define SCR_CONTROL_ID(name, ...) name,
  SCR_WIZARD_CHILDREN(SCR_CONTROL_ID, SCR_ROW_IGNORED)
#undef SCR_CONTROL_ID
  kCount
};

// Child window IDs: one per row, numbered in creation order.
namespace child {
enum Id : int {
  Window = 0,   // the wizard window, as a parent
  NoChild = 0,  // no child
  kBeforeFirst = 1000,
#define SCR_CHILD_ID(name, ...) name,
  SCR_WIZARD_CHILDREN(SCR_CHILD_ID, SCR_CHILD_ID)
#undef SCR_CHILD_ID
  kEnd
};
constexpr int kFirst = kBeforeFirst + 1;
constexpr std::size_t kCount = kEnd - kFirst;
}  // namespace child

struct Bounds {
  int left, top, width, height;
};

struct ChildSpec {
  child::Id id;
  child::Id parent;
  ChildKind kind;
  Bounds bounds;
  Sizing sizing;
  std::optional<ControlId> control;  // the logic's control object it mirrors, if any
  TextFont font;
  bool tabStop;
  child::Id keepsClearOf;
};

// Every child window in creation order: kChildSpecs[id - child::kFirst] is child `id`.
inline constexpr ChildSpec kChildSpecs[] = {
#define SCR_CONTROL_SPEC(name, parent, kind, l, t, w, h, sizing, font, tab, clearOf, caption) \
  {child::name, child::parent, ChildKind::kind, {l, t, w, h}, Sizing::sizing, ControlId::name, \
   TextFont::font, tab, child::clearOf},
#define SCR_DECORATION_SPEC(name, parent, kind, l, t, w, h)                                  \
  {child::name, child::parent, ChildKind::kind, {l, t, w, h}, Sizing::kFixed, std::nullopt, \
   TextFont::kNormal, false, child::NoChild},
    SCR_WIZARD_CHILDREN(SCR_CONTROL_SPEC, SCR_DECORATION_SPEC)
#undef SCR_CONTROL_SPEC
#undef SCR_DECORATION_SPEC
};
static_assert(sizeof(kChildSpecs) / sizeof(kChildSpecs[0]) == child::kCount, "one spec per row");

// A parent is created before its children, and a label before the control that keeps clear of it.
constexpr bool RowsReferToEarlierRows() {
  for (const ChildSpec& spec : kChildSpecs)
    if (spec.parent >= spec.id || spec.keepsClearOf >= spec.id) return false;
  return true;
}
static_assert(RowsReferToEarlierRows(), "a row names a row below it");

// Design-time caption of each control object, by ControlId.
inline constexpr Caption kCaptions[] = {
    Fixed("Screen Saver Setup"),  // the window's, until start-up knows the screen saver's title
#define SCR_CONTROL_CAPTION(name, parent, kind, l, t, w, h, sizing, font, tab, clearOf, caption) \
  caption,
    SCR_WIZARD_CHILDREN(SCR_CONTROL_CAPTION, SCR_ROW_IGNORED)
#undef SCR_CONTROL_CAPTION
};
static_assert(sizeof(kCaptions) / sizeof(kCaptions[0]) == std::size_t(ControlId::kCount),
              "one caption per control");
// clang-format on

constexpr const Caption& CaptionOf(ControlId id) { return kCaptions[std::size_t(id)]; }

// The spec of child `id`; nullptr for an ID that is not a child of the wizard.
constexpr const ChildSpec* SpecOf(int id) {
  return id >= child::kFirst && id < child::kEnd ? &kChildSpecs[id - child::kFirst] : nullptr;
}

// The child window that mirrors a control object (NoChild for the window itself).
constexpr child::Id ChildIdOf(ControlId control) {
  for (const ChildSpec& spec : kChildSpecs)
    if (spec.control == control) return spec.id;
  return child::NoChild;
}

// The child window of a page: the kPage rows are the pages in page order.
constexpr child::Id PageChildId(int page) {
  for (const ChildSpec& spec : kChildSpecs)
    if (spec.kind == ChildKind::kPage && page-- == 0) return spec.id;
  return child::NoChild;
}
static_assert(PageChildId(kPageCount - 1) != child::NoChild && PageChildId(kPageCount) == 0,
              "one kPage row per page");

// The wizard window's client area at 96 dpi.
constexpr int kClientWidth = 513;
constexpr int kClientHeight = 370;

}  // namespace ui
