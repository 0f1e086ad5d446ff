#include "ui/win32/wizard_layout.h"

#include "ui/control_ids.h"

namespace ui::win32 {
namespace {

constexpr int Page(int index) { return IDC_PAGE_FIRST + index; }

using K = ChildKind;
using S = Sizing;
using C = ControlId;
using F = TextFont;

// Tab order in the button row: Next, Cancel, the page's own controls, Back.
const ChildSpec kChildren[] = {
    {IDC_PANEL2, kWindowParent, K::kPanel, {0, 0, 513, 65}, S::kFixed, {}, F::kNormal, false},
    {IDC_LB_TITLE,
     IDC_PANEL2,
     K::kLabel,
     {18, 12, 177, 18},
     S::kToText,
     C::kLbTitle,
     F::kTitle,
     false},
    {IDC_LB_DESCRIPTION,
     IDC_PANEL2,
     K::kLabel,
     {40, 34, 195, 13},
     S::kToText,
     C::kLbDescription,
     F::kNormal,
     false},
    {IDC_IMAGE2, IDC_PANEL2, K::kImage, {456, 8, 48, 48}, S::kFixed, {}, F::kNormal, false},
    {IDC_BTN_NEXT,
     kWindowParent,
     K::kButton,
     {337, 336, 80, 25},
     S::kFixed,
     C::kBtnNext,
     F::kNormal,
     true},
    {IDC_BTN_CANCEL,
     kWindowParent,
     K::kButton,
     {424, 336, 81, 25},
     S::kFixed,
     C::kBtnCancel,
     F::kNormal,
     true},
    {IDC_NOTEBOOK,
     kWindowParent,
     K::kNotebook,
     {8, 72, 497, 249},
     S::kFixed,
     C::kNotebook,
     F::kNormal,
     false},
    // 'License'
    {Page(0), IDC_NOTEBOOK, K::kPage, {0, 0, 497, 249}, S::kFixed, {}, F::kNormal, false},
    {IDC_LABEL2, Page(0), K::kLabel, {32, 8, 417, 26}, S::kFixed, C::kLabel2, F::kNormal, false},
    {IDC_ED_LICENSE,
     Page(0),
     K::kReadOnlyMemo,
     {32, 48, 433, 145},
     S::kFixed,
     C::kEdLicense,
     F::kNormal,
     true},
    {IDC_RB_ACCEPT,
     Page(0),
     K::kRadio,
     {32, 200, 217, 17},
     S::kFixed,
     C::kRbAccept,
     F::kNormal,
     true},
    {IDC_RB_NOT_ACCEPT,
     Page(0),
     K::kRadio,
     {32, 220, 249, 17},
     S::kFixed,
     C::kRbNotAccept,
     F::kNormal,
     true},
    // 'Directory'
    {Page(1), IDC_NOTEBOOK, K::kPage, {0, 0, 497, 249}, S::kFixed, {}, F::kNormal, false},
    {IDC_IMAGE1, Page(1), K::kImage, {32, 8, 32, 32}, S::kFixed, {}, F::kNormal, false},
    {IDC_LABEL1,
     Page(1),
     K::kLabel,
     {80, 8, 345, 26},
     S::kToTextWrapped,
     C::kLabel1,
     F::kNormal,
     false},
    {IDC_BTN_BROWSE,
     Page(1),
     K::kButton,
     {384, 46, 83, 25},
     S::kFixed,
     C::kBtnBrowse,
     F::kNormal,
     true},
    {IDC_ED_DIRECTORY,
     Page(1),
     K::kEdit,
     {32, 48, 345, 21},
     S::kFixed,
     C::kEdDirectory,
     F::kNormal,
     true},
    // 'Ready'
    {Page(2), IDC_NOTEBOOK, K::kPage, {0, 0, 497, 249}, S::kFixed, {}, F::kNormal, false},
    {IDC_LABEL5, Page(2), K::kLabel, {32, 8, 417, 26}, S::kFixed, C::kLabel5, F::kNormal, false},
    // 'Progress'
    {Page(3), IDC_NOTEBOOK, K::kPage, {0, 0, 497, 249}, S::kFixed, {}, F::kNormal, false},
    {IDC_PROGRESS_BAR,
     Page(3),
     K::kProgress,
     {32, 32, 433, 25},
     S::kFixed,
     C::kProgressBar,
     F::kNormal,
     false},
    // 'Readme'
    {Page(4), IDC_NOTEBOOK, K::kPage, {0, 0, 497, 249}, S::kFixed, {}, F::kNormal, false},
    {IDC_LABEL3,
     Page(4),
     K::kLabel,
     {32, 8, 155, 13},
     S::kToTextWrapped,
     C::kLabel3,
     F::kNormal,
     false},
    {IDC_ED_README,
     Page(4),
     K::kMemo,
     {32, 32, 433, 193},
     S::kFixed,
     C::kEdReadme,
     F::kNormal,
     true,
     IDC_LABEL3},
    // 'Finished'
    {Page(5), IDC_NOTEBOOK, K::kPage, {0, 0, 497, 249}, S::kFixed, {}, F::kNormal, false},
    {IDC_LABEL4, Page(5), K::kLabel, {32, 8, 120, 13}, S::kToText, C::kLabel4, F::kNormal, false},
    // Button row.
    {IDC_BTN_BACK,
     kWindowParent,
     K::kButton,
     {256, 336, 81, 25},
     S::kFixed,
     C::kBtnBack,
     F::kNormal,
     true},
    {IDC_LINK, kWindowParent, K::kLink, {8, 342, 99, 13}, S::kToText, C::kLink, F::kLink, false},
    {IDC_BEVEL2, kWindowParent, K::kBevel, {0, 65, 513, 9}, S::kFixed, {}, F::kNormal, false},
    {IDC_BEVEL1, kWindowParent, K::kBevel, {0, 325, 513, 45}, S::kFixed, {}, F::kNormal, false},
};

}  // namespace

const ChildSpec* ChildSpecs(std::size_t& count) {
  count = sizeof(kChildren) / sizeof(kChildren[0]);
  return kChildren;
}

int ChildIdOf(ControlId control) {
  std::size_t count = 0;
  const ChildSpec* specs = ChildSpecs(count);
  for (std::size_t i = 0; i < count; ++i) {
    if (specs[i].control == control) return specs[i].id;
  }
  return 0;
}

}  // namespace ui::win32
