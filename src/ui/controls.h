#pragma once
// Plain control objects of the wizard: the state the handlers read and change. A Win32 mirror
// (ui/win32) listens to every change and copies it into the real child windows; user input that
// changes state (typing, checking a radio button) is written back through the same objects.
#include <string>
#include <vector>

#include "ui/wizard_controls.h"

namespace ui {

class ControlObserver {
 public:
  virtual ~ControlObserver() = default;
  virtual void ControlChanged(ControlId id) = 0;
};

class Control {
 public:
  explicit Control(ControlId id) : id_(id) {}
  ControlId Id() const { return id_; }
  void Observe(ControlObserver* observer) { observer_ = observer; }

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption) { Set(caption_, caption); }
  bool Visible() const { return visible_; }
  void SetVisible(bool visible) { Set(visible_, visible); }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { Set(enabled_, enabled); }
  bool Checked() const { return checked_; }
  void SetChecked(bool checked) { Set(checked_, checked); }
  // Memo boxes hold lines; the edit box and labels hold their caption.
  const std::vector<std::string>& Lines() const { return lines_; }
  void SetLines(const std::vector<std::string>& lines) { Set(lines_, lines); }
  int Position() const { return position_; }  // progress bar position, notebook page index
  void SetPosition(int position) { Set(position_, position); }
  int Maximum() const { return maximum_; }
  void SetMaximum(int maximum) { Set(maximum_, maximum); }

  // Used by the Win32 mirror when the user changed the real control: no notification back.
  void SyncCaption(const std::string& caption) { caption_ = caption; }
  void SyncChecked(bool checked) { checked_ = checked; }
  void SyncLines(const std::vector<std::string>& lines) { lines_ = lines; }

 private:
  template <typename T>
  void Set(T& field, const T& value) {
    if (field == value) return;
    field = value;
    if (observer_) observer_->ControlChanged(id_);
  }

  ControlId id_;
  ControlObserver* observer_ = nullptr;
  std::string caption_;
  bool visible_ = true;
  bool enabled_ = true;
  bool checked_ = false;
  std::vector<std::string> lines_;
  int position_ = 0;
  int maximum_ = 100;
};

}  // namespace ui
