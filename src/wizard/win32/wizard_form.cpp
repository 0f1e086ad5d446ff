// The wizard window: its creation from the control table, the message loop and what the logic
// asks of its window. Mirroring and input live beside it.
#include "wizard/win32/wizard_form.h"

#include <commctrl.h>

#include "ui/win32/child_classes.h"

namespace wizard::win32 {

using namespace ui;
using namespace ui::win32;

namespace {

constexpr DWORD kWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kWindowExStyle = WS_EX_CONTROLPARENT;

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

const char* ClassOf(ChildKind kind) {
  switch (kind) {
    case ChildKind::kPanel: return kPanelClass;
    case ChildKind::kBevel: return kBevelClass;
    case ChildKind::kNotebook: return kNotebookClass;
    case ChildKind::kPage: return kPageClass;
    case ChildKind::kImage: return kImageClass;
    case ChildKind::kLabel:
    case ChildKind::kLink: return "STATIC";
    case ChildKind::kButton:
    case ChildKind::kRadio: return "BUTTON";
    case ChildKind::kMemo:
    case ChildKind::kReadOnlyMemo:
    case ChildKind::kEdit: return "EDIT";
    case ChildKind::kProgress: return PROGRESS_CLASSA;
  }
  return "STATIC";
}

DWORD StyleOf(const ChildSpec& spec) {
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (spec.Has(kTabStop) ? WS_TABSTOP : 0) |
                (spec.Has(kGroupStart) ? WS_GROUP : 0);
  switch (spec.kind) {
    case ChildKind::kPanel:
    case ChildKind::kNotebook: return style | WS_VISIBLE | WS_CLIPCHILDREN;
    case ChildKind::kPage: return style | WS_CLIPCHILDREN;  // the mirror shows one page
    case ChildKind::kBevel:
    case ChildKind::kImage: return style | WS_VISIBLE;
    case ChildKind::kLabel:
      // Labels show their text as it is: a translated "&" is not an accelerator here.
      return style | WS_VISIBLE | SS_NOPREFIX |
             (spec.sizing == Sizing::kToText ? SS_LEFTNOWORDWRAP : SS_LEFT);
    case ChildKind::kLink: return style | WS_VISIBLE | SS_NOPREFIX | SS_NOTIFY | SS_LEFTNOWORDWRAP;
    case ChildKind::kButton: return style | WS_VISIBLE | BS_PUSHBUTTON;
    case ChildKind::kRadio: return style | WS_VISIBLE | BS_AUTORADIOBUTTON;
    case ChildKind::kMemo:
      return style | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
    case ChildKind::kReadOnlyMemo:
      return style | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY;
    case ChildKind::kEdit: return style | WS_VISIBLE | ES_AUTOHSCROLL;
    case ChildKind::kProgress: return style | WS_VISIBLE;
  }
  return style;
}

DWORD ExStyleOf(ChildKind kind) {
  switch (kind) {
    case ChildKind::kPanel:
    case ChildKind::kNotebook:
    case ChildKind::kPage:
      return WS_EX_CONTROLPARENT;  // Tab and accelerators reach the controls inside
    case ChildKind::kMemo:
    case ChildKind::kReadOnlyMemo:
    case ChildKind::kEdit: return WS_EX_CLIENTEDGE;
    default: return 0;
  }
}

}  // namespace

bool WizardForm::IsUsable(HWND window) {
  return window && IsWindowVisible(window) && IsWindowEnabled(window);
}

WizardForm::WizardForm(os::Os& os, const package::OwnPackage& package)
    : dpi_(Dpi::OfScreen()),
      fonts_(dpi_),
      pictures_(Instance(), dpi_),
      setup_(os, *this, package) {}

WizardForm::~WizardForm() {
  if (window_) DestroyWindow(window_);
}

integration::RunOutcome WizardForm::Run() {
  // Without a window nothing was written: "stopped before anything was written".
  if (!RegisterChildClasses(Instance()) || !RegisterWindowClass() || !CreateMainWindow())
    return setup_.Ending();
  ShowAtStart();
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (PreTranslate(message)) continue;
    if (window_ && IsDialogMessageA(window_, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  if (window_) DestroyWindow(window_);
  return setup_.Ending();
}

bool WizardForm::RegisterWindowClass() {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = Instance();
  wc.hIcon = WizardPictures::ProgramIcon(Instance(), false);
  wc.hIconSm = WizardPictures::ProgramIcon(Instance(), true);
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  wc.lpszClassName = kWizardClass;
  return RegisterClassExA(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool WizardForm::CreateMainWindow() {
  RECT frame{0, 0, dpi_.Scale(kClientWidth), dpi_.Scale(kClientHeight)};
  AdjustWindowRectEx(&frame, kWindowStyle, FALSE, kWindowExStyle);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  // The caption comes from the logic's window control while the window is being built.
  const HWND created = CreateWindowExA(kWindowExStyle, kWizardClass, "", kWindowStyle, left, top,
                                       width, height, nullptr, nullptr, Instance(), this);
  return created != nullptr;
}

LRESULT CALLBACK WizardForm::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* form = static_cast<WizardForm*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    form->window_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<WizardForm*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!form || form->window_ != window) return DefWindowProcA(window, message, wParam, lParam);
  return form->HandleMessage(message, wParam, lParam);
}

LRESULT WizardForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: OnCreate(); return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<LRESULT>(
          OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    case WM_SETCURSOR:
      if (OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam))) return TRUE;
      break;
    case WM_ACTIVATE: OnActivate(LOWORD(wParam) != WA_INACTIVE); return 0;
    case WM_NEXTDLGCTL: MoveFocus(wParam, lParam); return 0;
    case WM_CLOSE: DestroyWindow(window_); return 0;
    case WM_DESTROY:
      Dispatch(&TSCRSetup::FormDestroy);
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      setup_.ForEachControl([](Control& control) { control.Observe(nullptr); });
      window_ = nullptr;
      children_.fill(nullptr);
      break;
    default: break;
  }
  return DefWindowProcA(window_, message, wParam, lParam);
}

void WizardForm::OnCreate() {
  CreateChildren();
  setup_.ForEachControl([this](Control& control) { control.Observe(this); });
  MirrorAll();
  Dispatch(&TSCRSetup::FormCreate);
}

void WizardForm::CreateChildren() {
  for (std::size_t i = 0; i < children_.size(); ++i) children_[i] = CreateChild(kChildSpecs[i]);
}

HWND WizardForm::CreateChild(const ChildSpec& spec) {
  const Bounds& b = spec.bounds;
  const HWND child = CreateWindowExA(
      ExStyleOf(spec.kind), ClassOf(spec.kind), "", StyleOf(spec), dpi_.Scale(b.left),
      dpi_.Scale(b.top), dpi_.Scale(b.width), dpi_.Scale(b.height), ParentOf(spec),
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)), Instance(), nullptr);
  if (!child) return nullptr;
  SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Get(spec.font)), FALSE);
  if (spec.picture != Picture::kNone) SetPicture(child, pictures_.Get(spec.picture));
  if (spec.Has(kAnyLength)) SendMessageA(child, EM_SETLIMITTEXT, 0, 0);  // 0: the largest there is
  return child;
}

HWND WizardForm::ParentOf(const ChildSpec& spec) const {
  return spec.parent == child::Window ? window_ : Child(spec.parent);
}

void WizardForm::MirrorAll() {
  setup_.ForEachControl([this](Control& control) { MirrorControl(control); });
}

void WizardForm::ShowAtStart() {
  ShowWindow(window_, SW_SHOWNORMAL);
  UpdateWindow(window_);
  SetForegroundWindow(window_);
  if (HWND first = FirstTabStop()) SetFocus(first);
}

// --- FormHost -----------------------------------------------------------------------------------

os::WindowRef WizardForm::Handle() { return reinterpret_cast<os::WindowRef>(window_); }

// Closing is deferred to the message loop, the way a form's Close works: the handler that asks
// for it finishes first, against a window that still exists.
void WizardForm::Close() {
  if (window_) PostMessageA(window_, WM_CLOSE, 0, 0);
}

void WizardForm::SetWindowEnabled(bool enabled) {
  if (!window_) return;
  EnableWindow(window_, enabled ? TRUE : FALSE);
  if (enabled && GetActiveWindow() == window_ && !IsChild(window_, GetFocus())) {
    if (HWND first = FirstTabStop()) SetFocus(first);
  }
}

void WizardForm::SetBusyCursor(bool busy) {
  busy_ = busy;
  SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(busy ? IDC_WAIT : IDC_ARROW)));
}

void WizardForm::RepaintNow(ControlId id) {
  const HWND target = id == ControlId::Window ? window_ : ChildOf(id);
  if (target)
    RedrawWindow(target, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void WizardForm::ProcessMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // The end was asked for; the main loop has to see it too.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

void WizardForm::Focus(ControlId id) {
  if (HWND target = ChildOf(id)) SetFocus(target);
}
HWND WizardForm::FirstTabStop() const {
  for (std::size_t i = 0; i < children_.size(); ++i) {
    if (kChildSpecs[i].Has(kTabStop) && IsUsable(children_[i])) return children_[i];
  }
  return nullptr;
}

HWND WizardForm::Child(int id) const {
  return SpecOf(id) ? children_[id - child::kFirst] : nullptr;
}

HWND WizardForm::ChildOf(ControlId control) const { return Child(ChildIdOf(control)); }

const ChildSpec* WizardForm::SpecOfWindow(HWND window) const {
  const ChildSpec* spec = window ? SpecOf(GetDlgCtrlID(window)) : nullptr;
  return spec && Child(spec->id) == window ? spec : nullptr;
}

Control* WizardForm::ControlOf(const ChildSpec& spec) {
  Control* found = nullptr;
  if (spec.control)
    setup_.ForEachControl([&](Control& control) {
      if (control.Id() == *spec.control) found = &control;
    });
  return found;
}

}  // namespace wizard::win32
