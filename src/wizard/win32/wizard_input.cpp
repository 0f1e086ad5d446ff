// Input: turns the user's clicks, typing and keys into handler calls on the logic.
#include "wizard/win32/wizard_form.h"

#include <commctrl.h>

#include "ui/win32/window_text.h"

namespace wizard::win32 {

using namespace ui;
using namespace ui::win32;

namespace {

constexpr COLORREF kTitleColour = RGB(0, 51, 188);
constexpr COLORREF kLinkColour = RGB(0, 102, 204);

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
  if (!child) return;  // menu and accelerator commands: the window has none
  switch (id) {
    case child::edDirectory:
      if (code == EN_CHANGE && !mirroring_) setup_.edDirectory.SyncCaption(ReadWindowText(child));
      return;
    case child::edReadme:
      if (code == EN_CHANGE && !mirroring_)
        setup_.edReadme.SyncLines(SplitLines(ReadWindowText(child)));
      return;
    case child::Link:
      if (code == STN_CLICKED && IsUsable(child)) Dispatch(&TSCRSetup::LinkClick);
      return;
    default:
      if (code == BN_CLICKED) OnButtonClick(id, child);
      return;
  }
}

void WizardForm::OnButtonClick(int id, HWND button) {
  // A click that was queued before the button was hidden or disabled does nothing.
  if (!IsUsable(button)) return;
  switch (id) {
    case child::btnNext: Dispatch(&TSCRSetup::btnNextClick); break;
    case child::btnBack: Dispatch(&TSCRSetup::btnBackClick); break;
    case child::btnCancel: Dispatch(&TSCRSetup::btnCancelClick); break;
    case child::btnBrowse: Dispatch(&TSCRSetup::btnBrowseClick); break;
    case child::rbAccept:
    case child::rbNotAccept:
      setup_.rbAccept.SyncChecked(SendMessageA(Child(child::rbAccept), BM_GETCHECK, 0, 0) ==
                                  BST_CHECKED);
      setup_.rbNotAccept.SyncChecked(SendMessageA(Child(child::rbNotAccept), BM_GETCHECK, 0, 0) ==
                                     BST_CHECKED);
      Dispatch(&TSCRSetup::rbAcceptClick);
      break;
    default: break;
  }
}

HBRUSH WizardForm::OnControlColour(HDC dc, HWND child) {
  const int id = GetDlgCtrlID(child);
  int background = COLOR_BTNFACE;
  COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
  if (GetParent(child) == Child(child::Panel2)) {
    background = COLOR_WINDOW;
    if (id == child::lbTitle) text = kTitleColour;
  } else if (id == child::edLicense) {
    background = COLOR_WINDOW;  // read-only, but a text to read: keep it on white
  } else if (id == child::Link) {
    text = kLinkColour;
  }
  SetTextColor(dc, text);
  SetBkColor(dc, GetSysColor(background));
  return GetSysColorBrush(background);
}

bool WizardForm::OnSetCursor(HWND under, int hitTest) {
  if (busy_) {
    SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
    return true;
  }
  if (under && under == Child(child::Link) && hitTest == HTCLIENT) {
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
  const HWND focus = GetFocus();
  return focus && (focus == Child(child::edLicense) || focus == Child(child::edReadme));
}

}  // namespace wizard::win32
