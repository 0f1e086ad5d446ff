// Input: turns the user's clicks, typing and keys into handler calls on the logic.
#include "wizard/win32/wizard_form.h"

#include <commctrl.h>

#include <iterator>

#include "ui/win32/colours.h"
#include "ui/win32/window_text.h"

namespace wizard::win32 {

using namespace ui;
using namespace ui::win32;

namespace {

using Handler = void (TSCRSetup::*)();

// What a click on each child runs, by child ID from child::kFirst: the control table's click
// column, whose names are TSCRSetup's handlers.
#define OnClick(handler) &TSCRSetup::handler
#define NoClick nullptr
#define SCR_CONTROL_CLICK(name, parent, kind, l, t, w, h, sizing, font, flags, colours, click, \
                          clearOf, caption)                                                    \
  click,
#define SCR_DECORATION_CLICK(...) nullptr,
constexpr Handler kClickHandlers[] = {SCR_WIZARD_CHILDREN(SCR_CONTROL_CLICK, SCR_DECORATION_CLICK)};
#undef SCR_DECORATION_CLICK
#undef SCR_CONTROL_CLICK
#undef NoClick
#undef OnClick
static_assert(std::size(kClickHandlers) == child::kCount, "one click per row");

// Whether `code` is the notification of a click on a child of this kind: the link is a static
// that notifies.
bool IsClick(ChildKind kind, int code) {
  switch (kind) {
    case ChildKind::kButton:
    case ChildKind::kRadio: return code == BN_CLICKED;
    case ChildKind::kLink: return code == STN_CLICKED;
    default: return false;
  }
}

bool IsPushButton(HWND window) {
  char className[16] = {};
  GetClassNameA(window, className, sizeof(className));
  if (lstrcmpiA(className, "Button") != 0) return false;
  const LONG type = GetWindowLongA(window, GWL_STYLE) & BS_TYPEMASK;
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

}  // namespace

void WizardForm::Dispatch(void (TSCRSetup::*handler)()) {
  setup_.Dispatch([this, handler] { (setup_.*handler)(); });
}

void WizardForm::OnCommand(int id, int code, HWND child) {
  const ChildSpec* spec = SpecOf(id);
  if (!child || !spec) return;  // menu and accelerator commands: the window has none
  if (code == EN_CHANGE && spec->Has(kCopiesInput) && !mirroring_) CopyTextBack(*spec, child);
  // A click that was queued before the child was hidden or disabled does nothing.
  if (!IsClick(spec->kind, code) || !IsUsable(child)) return;
  if (spec->kind == ChildKind::kRadio) CopyChoicesBack();
  if (const Handler handler = kClickHandlers[id - child::kFirst]) Dispatch(handler);
}

void WizardForm::CopyTextBack(const ChildSpec& spec, HWND edit) {
  Control* control = ControlOf(spec);
  if (!control) return;
  const std::string text = ReadWindowText(edit);
  if (IsMemo(spec.kind)) {
    control->SyncLines(SplitLines(text));
  } else {
    control->SyncCaption(text);
  }
}

// A click on one radio button can change them all.
void WizardForm::CopyChoicesBack() {
  for (std::size_t i = 0; i < children_.size(); ++i) {
    const ChildSpec& spec = kChildSpecs[i];
    Control* control = ControlOf(spec);
    if (spec.kind != ChildKind::kRadio || !spec.Has(kCopiesInput) || !control) continue;
    control->SyncChecked(SendMessageA(children_[i], BM_GETCHECK, 0, 0) == BST_CHECKED);
  }
}

HBRUSH WizardForm::OnControlColour(HDC dc, HWND child) {
  const ChildSpec* spec = SpecOfWindow(child);
  const PaintColours colours = PaintColoursOf(spec ? spec->colours : Colours::kDialog);
  SetTextColor(dc, colours.ink);
  SetBkColor(dc, GetSysColor(colours.paper));
  return GetSysColorBrush(colours.paper);
}

bool WizardForm::OnSetCursor(HWND under, int hitTest) {
  if (busy_) {
    SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
    return true;
  }
  const ChildSpec* spec = SpecOfWindow(under);
  if (spec && spec->kind == ChildKind::kLink && hitTest == HTCLIENT) {
    SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
    return true;
  }
  return false;
}

// Coming back to the window puts the keyboard focus where the user left it.
void WizardForm::OnActivate(bool active) {
  if (!active) {
    const HWND focus = GetFocus();
    savedFocus_ = IsChild(window_, focus) ? focus : nullptr;
    return;
  }
  if (IsIconic(window_)) return;
  HWND target =
      IsUsable(savedFocus_) && IsChild(window_, savedFocus_) ? savedFocus_ : FirstTabStop();
  if (target) SetFocus(target);
}

// The dialog keyboard interface asks the window to move the focus; a plain window has to do it.
void WizardForm::MoveFocus(WPARAM wParam, LPARAM lParam) {
  HWND target = nullptr;
  if (LOWORD(lParam)) {
    target = reinterpret_cast<HWND>(wParam);
  } else {
    target = GetNextDlgTabItem(window_, GetFocus(), wParam != 0 ? TRUE : FALSE);
  }
  if (!target || !IsChild(window_, target)) return;
  SetFocus(target);
  if (SendMessageA(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
    SendMessageA(target, EM_SETSEL, 0, -1);
}

// Keys the dialog keyboard interface would get wrong for this window: Esc goes to the logic,
// Enter clicks only the focused button, and accelerators look only at controls the user sees.
bool WizardForm::PreTranslate(const MSG& message) {
  if (!window_ || (message.hwnd != window_ && !IsChild(window_, message.hwnd))) return false;
  if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
    const bool memo = MemoHasFocus();
    setup_.Dispatch([this, memo] { setup_.EscapePressed(memo); });
    return true;
  }
  if (message.message == WM_KEYDOWN && message.wParam == VK_TAB && MemoHasFocus() &&
      GetKeyState(VK_CONTROL) >= 0) {
    // The memos take every key for themselves in a dialog; Tab still has to leave them.
    MoveFocus(GetKeyState(VK_SHIFT) < 0 ? 1 : 0, 0);
    return true;
  }
  if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN && IsPushButton(GetFocus())) {
    SendMessageA(GetFocus(), BM_CLICK, 0, 0);
    return true;
  }
  if (message.message == WM_SYSCHAR) {
    // Alt+Space still opens the system menu; other letters never reach a control on a hidden page.
    if (message.wParam == ' ') return false;
    if (!ClickMnemonic(static_cast<char>(message.wParam))) MessageBeep(0);
    return true;
  }
  if (message.message == WM_CHAR) {
    // On a button a plain letter works like Alt+letter, as in any dialog.
    const HWND focus = GetFocus();
    const bool onButton = focus && (SendMessageA(focus, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON);
    if (onButton && message.wParam > ' ') {
      ClickMnemonic(static_cast<char>(message.wParam));
      return true;
    }
  }
  return false;
}

bool WizardForm::ClickMnemonic(char key) {
  for (std::size_t i = 0; i < children_.size(); ++i) {
    const ChildKind kind = kChildSpecs[i].kind;
    if (kind != ChildKind::kButton && kind != ChildKind::kRadio) continue;
    const HWND control = children_[i];
    if (!IsUsable(control) || !HasMnemonic(ReadWindowText(control), key)) continue;
    if (kind == ChildKind::kRadio) SetFocus(control);
    SendMessageA(control, BM_CLICK, 0, 0);
    return true;
  }
  return false;
}

bool WizardForm::MemoHasFocus() const {
  const ChildSpec* spec = SpecOfWindow(GetFocus());
  return spec && IsMemo(spec->kind);
}

}  // namespace wizard::win32
