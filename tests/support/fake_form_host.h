#pragma once
// A recording stand-in for the wizard's window. Each call is kept as one line in `calls`
// ("Close", "SetWindowEnabled 0", "SetBusyCursor 1",
// "RepaintNow <control number>", "ProcessMessages", "Focus <control number>"). Given a FakeOs,
// the same lines also go into its chronological log (op = the first word, subject = the rest),
// so a test can check order across window and OS calls, and fail them there like any other call
// (a failed form call is recorded but changes none of the flags below and runs no hook).
//
// `onProcessMessages` runs inside every ProcessMessages: the place to look at the state in the
// middle of a long copy, or to press Cancel.
#include <functional>
#include <string>
#include <vector>

#include "support/fake_os.h"
#include "ui/form_host.h"

namespace fake {

class FakeFormHost : public ui::FormHost {
 public:
  explicit FakeFormHost(FakeOs* os = nullptr) : os_(os) {}

  os::WindowRef handle = 0x1234;
  bool windowEnabled = true;
  bool busyCursor = false;
  bool closed = false;
  std::vector<std::string> calls;
  std::function<void()> onProcessMessages;

  int Count(const std::string& call) const {
    int count = 0;
    for (const std::string& line : calls) count += line == call;
    return count;
  }

  os::WindowRef Handle() override { return handle; }
  void Close() override {
    if (Note("Close", "")) closed = true;
  }
  void SetWindowEnabled(bool enabled) override {
    if (Note("SetWindowEnabled", enabled ? "1" : "0")) windowEnabled = enabled;
  }
  void SetBusyCursor(bool busy) override {
    if (Note("SetBusyCursor", busy ? "1" : "0")) busyCursor = busy;
  }
  void RepaintNow(ui::ControlId id) override { Note("RepaintNow", Number(id)); }
  void ProcessMessages() override {
    if (Note("ProcessMessages", "") && onProcessMessages) onProcessMessages();
  }
  void Focus(ui::ControlId id) override { Note("Focus", Number(id)); }

 private:
  static std::string Number(ui::ControlId id) { return std::to_string(static_cast<int>(id)); }
  bool Note(const std::string& op, const std::string& subject) {
    calls.push_back(subject.empty() ? op : op + " " + subject);
    return os_ ? os_->log.Record(op, subject) : true;
  }

  FakeOs* os_;
};

}  // namespace fake
