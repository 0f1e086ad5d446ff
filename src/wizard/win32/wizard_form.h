#pragma once
// The wizard's top-level window: builds the child windows from the layout, mirrors the logic's
// control objects into them, turns user input into handler calls, and offers the logic what it
// asks of its window (ui::FormHost).
#include <windows.h>

#include <array>
#include <optional>
#include <string>

#include "ui/form_host.h"
#include "ui/win32/dpi.h"
#include "ui/win32/fonts.h"
#include "ui/win32/pictures.h"
#include "ui/wizard_controls.h"
#include "wizard/scr_setup.h"

namespace wizard::win32 {

constexpr char kWizardClass[] = "TSCRSetup";

class WizardForm : public ui::FormHost, public ui::ControlObserver {
 public:
  WizardForm(os::Os& os, const package::OwnPackage& package);
  WizardForm(const WizardForm&) = delete;
  WizardForm& operator=(const WizardForm&) = delete;
  ~WizardForm() override;

  // Creates the window (FormCreate fills it inside), shows it, and serves messages until the
  // window has closed. Returns how the installation ended.
  integration::RunOutcome Run();
  TSCRSetup& Setup() { return setup_; }

  // ui::FormHost
  os::WindowRef Handle() override;
  void Close() override;
  void SetWindowEnabled(bool enabled) override;
  void SetBusyCursor(bool busy) override;
  void RepaintNow(ui::ControlId id) override;
  void ProcessMessages() override;
  void Focus(ui::ControlId id) override;

  // ui::ControlObserver
  void ControlChanged(ui::ControlId id) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  bool RegisterWindowClass();
  bool CreateMainWindow();
  void OnCreate();
  void CreateChildren();
  HWND CreateChild(const ui::ChildSpec& spec);
  HWND ParentOf(const ui::ChildSpec& spec) const;
  void MirrorAll();
  void ShowAtStart();

  // Mirroring.
  void MirrorControl(const ui::Control& control);
  void MirrorText(HWND child, const std::string& text);
  void MirrorPage(int page);
  void FitLabelToText(HWND label, ui::Sizing sizing);
  void KeepClearOf(int labelId);

  // Input.
  void OnCommand(int id, int code, HWND child);
  void CopyTextBack(const ui::ChildSpec& spec, HWND edit);
  void CopyChoicesBack();
  HBRUSH OnControlColour(HDC dc, HWND child);
  bool OnSetCursor(HWND under, int hitTest);
  void OnActivate(bool active);
  void MoveFocus(WPARAM wParam, LPARAM lParam);
  bool PreTranslate(const MSG& message);
  bool ClickMnemonic(char key);
  bool MemoHasFocus() const;
  HWND FirstTabStop() const;
  void Dispatch(void (TSCRSetup::*handler)());

  static bool IsUsable(HWND window);  // visible and enabled
  HWND Child(int id) const;
  HWND ChildOf(ui::ControlId control) const;
  const ui::ChildSpec* SpecOfWindow(HWND window) const;  // nullptr: not one of the children
  ui::Control* ControlOf(const ui::ChildSpec& spec);     // nullptr: a decoration

  ui::win32::Dpi dpi_;
  ui::win32::WizardFonts fonts_;
  ui::win32::WizardPictures pictures_;
  TSCRSetup setup_;
  HWND window_ = nullptr;
  std::array<HWND, ui::child::kCount> children_{};  // by ID, from ui::child::kFirst
  HWND savedFocus_ = nullptr;
  bool busy_ = false;
  bool mirroring_ = false;  // a text set by the mirror is not the user's input
};

}  // namespace wizard::win32
