#pragma once
// The wizard's child windows, one row each, in creation order. A row is all there is to know
// about a child: the logic's control object (for CONTROL rows, a TSCRSetup member of that name
// and its ControlId), the child window's ID, where it sits at 96 dpi relative to its parent, its
// kind, how it follows its text, its font, its flags (Tab stop, group start, input copied back,
// length limit), its colours, what a click on it runs, the label it keeps clear of, its English
// caption and the text a language file translates; for the window's own decorations, the
// picture it shows. Adding a control is adding a row.
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
  kNotebook,  // holds the pages; its control object's position is the page showing
  kPage,      // one page of the notebook
  kLabel,
  kLink,   // a label that is clicked, with the hand cursor
  kImage,  // a picture painted by the window itself
  kButton,
  kRadio,
  kMemo,  // multi-line edit with a vertical scroll bar; holds lines
  kReadOnlyMemo,
  kEdit,  // one line; holds its caption
  kProgress,
};

constexpr bool IsMemo(ChildKind kind) {
  return kind == ChildKind::kMemo || kind == ChildKind::kReadOnlyMemo;
}

// How a label follows its text.
enum class Sizing {
  kFixed,
  kToText,         // grows to the right (and down for explicit line breaks)
  kToTextWrapped,  // keeps its width and grows down
};

enum class TextFont { kNormal, kTitle, kLink };

// The paper and ink of a child the system paints as static text (labels, radio buttons, a
// read-only or disabled edit box): the dialog's own, the white of the header band and of a text
// to read, the page title's blue on white, the link's blue.
enum class Colours { kDialog, kWhite, kTitle, kLink };

// The pictures of the program's resources a decoration shows.
enum class Picture { kNone, kHeader, kFolder };

// What a child does beyond its kind, or-ed together in its row.
enum ChildFlag : unsigned {
  kNoFlags = 0,
  kTabStop = 1u << 0,      // Tab stops on it
  kGroupStart = 1u << 1,   // opens a group: the arrow keys move among it and the rows after it
  kCopiesInput = 1u << 2,  // the user's typing or choice is copied back into its control object
  kAnyLength = 1u << 3,    // an edit box that takes texts of any length, not the system's limit
};

// clang-format off
//
// CONTROL(name, parent, kind, left, top, width, height, sizing, font, flags, colours, click,
//         keepsClearOf, caption)
//   A child the logic reads and changes. click: OnClick(handler), the TSCRSetup handler a click
//   runs (the window's code gives the name its meaning), or NoClick. keepsClearOf names a label
//   above it: when that label's text needs more lines than designed, this control's top moves
//   down to keep the designed gap (its bottom stays), so no text lies under it. NoChild: none.
// DECORATION(name, parent, kind, left, top, width, height, picture)
//   A child only the window knows: the header band, the pages, the pictures, the bevels.
// parent: an earlier row, or Window.
#define SCR_WIZARD_CHILDREN(CONTROL, DECORATION)                                                   \
  DECORATION(Panel2,        Window,      kPanel,        0,   0,   513, 65,  kNone)                 \
  CONTROL(lbTitle,          Panel2,      kLabel,        18,  12,  177, 18,  kToText,        kTitle,  kNoFlags, kTitle,  NoClick, NoChild, NoCaption()) \
  CONTROL(lbDescription,    Panel2,      kLabel,        40,  34,  195, 13,  kToText,        kNormal, kNoFlags, kWhite,  NoClick, NoChild, NoCaption()) \
  DECORATION(Image2,        Panel2,      kImage,        456, 8,   48,  48,  kHeader)               \
  CONTROL(btnNext,          Window,      kButton,       337, 336, 80,  25,  kFixed,         kNormal, kTabStop, kDialog, OnClick(btnNextClick), NoChild, Translated("", "Next", " >")) \
  CONTROL(btnCancel,        Window,      kButton,       424, 336, 81,  25,  kFixed,         kNormal, kTabStop, kDialog, OnClick(btnCancelClick), NoChild, Translated("Cancel")) \
  CONTROL(Notebook,         Window,      kNotebook,     8,   72,  497, 249, kFixed,         kNormal, kNoFlags, kDialog, NoClick, NoChild, NoCaption()) \
  DECORATION(PageLicense,   Notebook,    kPage,         0,   0,   497, 249, kNone)                 \
  CONTROL(Label2,           PageLicense, kLabel,        32,  8,   417, 26,  kFixed,         kNormal, kNoFlags, kDialog, NoClick, NoChild, \
          Translated("Please read the following License Agreement. You must accept the terms of this agreement before continuing with the installation.")) \
  CONTROL(edLicense,        PageLicense, kReadOnlyMemo, 32,  48,  433, 145, kFixed,         kNormal, kTabStop | kGroupStart | kAnyLength, kWhite, NoClick, NoChild, NoCaption()) \
  CONTROL(rbAccept,         PageLicense, kRadio,        32,  200, 217, 17,  kFixed,         kNormal, kTabStop | kGroupStart | kCopiesInput, kDialog, OnClick(rbAcceptClick), NoChild, Translated("I &accept the agreement")) \
  CONTROL(rbNotAccept,      PageLicense, kRadio,        32,  220, 249, 17,  kFixed,         kNormal, kTabStop | kCopiesInput, kDialog, OnClick(rbAcceptClick), NoChild, Translated("I &do not accept the agreement")) \
  DECORATION(PageDirectory, Notebook,    kPage,         0,   0,   497, 249, kNone)                 \
  DECORATION(Image1,        PageDirectory, kImage,      32,  8,   32,  32,  kFolder)               \
  CONTROL(Label1,           PageDirectory, kLabel,      80,  8,   345, 26,  kToTextWrapped, kNormal, kNoFlags, kDialog, NoClick, NoChild, \
          Translated("Select the folder where you would like the Screen Saver to be installed, then click Install.")) \
  CONTROL(btnBrowse,        PageDirectory, kButton,     384, 46,  83,  25,  kFixed,         kNormal, kTabStop, kDialog, OnClick(btnBrowseClick), NoChild, Translated("", "&Browse", "...")) \
  CONTROL(edDirectory,      PageDirectory, kEdit,       32,  48,  345, 21,  kFixed,         kNormal, kTabStop | kGroupStart | kCopiesInput, kDialog, NoClick, NoChild, NoCaption()) \
  DECORATION(PageReady,     Notebook,    kPage,         0,   0,   497, 249, kNone)                 \
  CONTROL(Label5,           PageReady,   kLabel,        32,  8,   417, 26,  kFixed,         kNormal, kNoFlags, kDialog, NoClick, NoChild, \
          Translated("The Setup is ready to install Screen Saver on your computer. Click Install to continue, or Cancel to exit Setup.")) \
  DECORATION(PageProgress,  Notebook,    kPage,         0,   0,   497, 249, kNone)                 \
  CONTROL(ProgressBar,      PageProgress, kProgress,    32,  32,  433, 25,  kFixed,         kNormal, kNoFlags, kDialog, NoClick, NoChild, NoCaption()) \
  DECORATION(PageReadme,    Notebook,    kPage,         0,   0,   497, 249, kNone)                 \
  CONTROL(Label3,           PageReadme,  kLabel,        32,  8,   155, 13,  kToTextWrapped, kNormal, kNoFlags, kDialog, NoClick, NoChild, Translated("When you are ready, click Next.")) \
  CONTROL(edReadme,         PageReadme,  kMemo,         32,  32,  433, 193, kFixed,         kNormal, kTabStop | kGroupStart | kCopiesInput | kAnyLength, kDialog, NoClick, Label3, NoCaption()) \
  DECORATION(PageFinished,  Notebook,    kPage,         0,   0,   497, 249, kNone)                 \
  CONTROL(Label4,           PageFinished, kLabel,       32,  8,   120, 13,  kToText,        kNormal, kNoFlags, kDialog, NoClick, NoChild, Translated("Click Finish to exit Setup.")) \
  CONTROL(btnBack,          Window,      kButton,       256, 336, 81,  25,  kFixed,         kNormal, kTabStop, kDialog, OnClick(btnBackClick), NoChild, Translated("< ", "Back", "")) \
  CONTROL(Link,             Window,      kLink,         8,   342, 99,  13,  kToText,        kLink,   kNoFlags, kLink,   OnClick(LinkClick), NoChild, Fixed("http://www.example.com")) \
  DECORATION(Bevel2,        Window,      kBevel,        0,   65,  513, 9,   kNone)                 \
  DECORATION(Bevel1,        Window,      kBevel,        0,   325, 513, 45,  kNone)

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
  unsigned flags;  // ChildFlag values
  Colours colours;
  child::Id keepsClearOf;
  Picture picture;

  constexpr bool Has(ChildFlag flag) const { return (flags & flag) != 0; }
};

// Every child window in creation order: kChildSpecs[id - child::kFirst] is child `id`.
inline constexpr ChildSpec kChildSpecs[] = {
#define SCR_CONTROL_SPEC(name, parent, kind, l, t, w, h, sizing, font, flags, colours, click, \
                         clearOf, caption)                                                    \
  {child::name, child::parent, ChildKind::kind, {l, t, w, h}, Sizing::sizing, ControlId::name, \
   TextFont::font, flags, Colours::colours, child::clearOf, Picture::kNone},
#define SCR_DECORATION_SPEC(name, parent, kind, l, t, w, h, picture)                          \
  {child::name, child::parent, ChildKind::kind, {l, t, w, h}, Sizing::kFixed, std::nullopt, \
   TextFont::kNormal, kNoFlags, Colours::kDialog, child::NoChild, Picture::picture},
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
#define SCR_CONTROL_CAPTION(name, parent, kind, l, t, w, h, sizing, font, flags, colours, \
                            click, clearOf, caption)                                     \
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
