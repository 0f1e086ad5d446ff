// Mirroring: copies the logic's control objects into the real child windows whenever they change.
#include "wizard/win32/wizard_form.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/win32/window_text.h"

namespace wizard::win32 {

using namespace ui;
using namespace ui::win32;

void WizardForm::ControlChanged(ControlId id) {
  setup_.ForEachControl([&](Control& control) {
    if (control.Id() == id) MirrorControl(control);
  });
}

void WizardForm::MirrorControl(const Control& control) {
  if (!window_) return;
  if (control.Id() == ControlId::Window) {
    MirrorText(window_, control.Caption());
    return;
  }
  const child::Id id = ChildIdOf(control.Id());
  const HWND child = Child(id);
  if (!child) return;
  const ChildSpec* spec = SpecOf(id);
  switch (spec->kind) {
    case ChildKind::kNotebook: MirrorPage(control.Position()); return;
    case ChildKind::kMemo:
    case ChildKind::kReadOnlyMemo: MirrorText(child, JoinLines(control.Lines())); break;
    case ChildKind::kProgress:
      SendMessageA(child, PBM_SETRANGE32, 0, control.Maximum());
      SendMessageA(child, PBM_SETPOS, static_cast<WPARAM>(control.Position()), 0);
      break;
    case ChildKind::kRadio:
      MirrorText(child, control.Caption());
      SendMessageA(child, BM_SETCHECK, control.Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
      break;
    default:
      MirrorText(child, control.Caption());
      if (spec->sizing != Sizing::kFixed) FitLabelToText(child, spec->sizing);
      break;
  }
  if (((GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE) != 0) != control.Visible())
    ShowWindow(child, control.Visible() ? SW_SHOWNA : SW_HIDE);
  if ((IsWindowEnabled(child) != FALSE) != control.Enabled())
    EnableWindow(child, control.Enabled() ? TRUE : FALSE);
}

void WizardForm::MirrorText(HWND child, const std::string& text) {
  if (ReadWindowText(child) == text) return;  // no flicker, no echo of an unchanged text
  mirroring_ = true;
  SetWindowTextA(child, text.c_str());
  mirroring_ = false;
}

void WizardForm::MirrorPage(int page) {
  if (page < 0 || page >= kPageCount) return;
  const HWND focus = GetFocus();
  HWND shown = nullptr;
  for (int i = 0; i < kPageCount; ++i) {
    const HWND pageWindow = Child(PageChildId(i));
    if (!pageWindow) continue;
    if (i == page) {
      shown = pageWindow;
      ShowWindow(pageWindow, SW_SHOWNA);
    } else {
      ShowWindow(pageWindow, SW_HIDE);
    }
  }
  // Focus left on a hidden page would make the keyboard talk to an invisible control.
  if (focus && IsChild(window_, focus) && !IsWindowVisible(focus)) {
    HWND next = FirstTabStop();
    if (!next && shown) next = window_;
    if (next) SetFocus(next);
  }
}

void WizardForm::FitLabelToText(HWND label, Sizing sizing) {
  RECT current;
  GetWindowRect(label, &current);
  const SIZE size = MeasureLabelText(label, ReadWindowText(label), sizing == Sizing::kToTextWrapped,
                                     current.right - current.left);
  SetWindowPos(label, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  KeepClearOf(GetDlgCtrlID(label));
}

void WizardForm::KeepClearOf(int labelId) {
  const ChildSpec* label = SpecOf(labelId);
  const HWND labelWindow = Child(labelId);
  if (!label || !labelWindow) return;
  RECT labelRect;
  GetWindowRect(labelWindow, &labelRect);
  MapWindowPoints(nullptr, GetParent(labelWindow), reinterpret_cast<POINT*>(&labelRect), 2);
  for (std::size_t i = 0; i < children_.size(); ++i) {
    const ChildSpec& below = kChildSpecs[i];
    if (below.keepsClearOf != labelId || !children_[i]) continue;
    const int gap =
        dpi_.Scale(below.bounds.top) - dpi_.Scale(label->bounds.top + label->bounds.height);
    const int bottom = dpi_.Scale(below.bounds.top + below.bounds.height);
    const int top =
        std::max(dpi_.Scale(below.bounds.top), static_cast<int>(labelRect.bottom) + gap);
    SetWindowPos(children_[i], nullptr, dpi_.Scale(below.bounds.left), top,
                 dpi_.Scale(below.bounds.width), std::max(bottom - top, 0),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

}  // namespace wizard::win32
