#pragma once
// The log of one run, for whoever deployed the screen saver and must learn afterwards what the run
// did and why it failed. Only a run given "-log FILE" has one. The file is appended to, one block
// per run, one time-stamped line per entry. Each line is written through on its own, so a run that
// is ended hard keeps every line it wrote before. A log that cannot be written is simply not
// written: it never changes what the run does, and never shows a box.
#include <string>

#include "os/files.h"
#include "os/system.h"

namespace runlog {

// The switch that names a run's log, in every mode; the uninstaller hands it on to its temporary
// copy.
constexpr char kLogSwitch[] = "-log";

class RunLog {
 public:
  RunLog() = default;  // no log: every line is dropped, and no file is touched
  // `path` is used as given; the switches make it a full path.
  RunLog(os::Files& files, os::System& system, std::string path);

  bool Active() const { return files_ != nullptr; }
  // The full path, for a process that is to append to the same log; empty without a log.
  const std::string& Path() const { return path_; }
  // The system's text for a code; asked only when the log is written.
  std::string ErrorText(os::ErrorCode code) const;
  // One entry on one line: line breaks and other control characters in `text` become blanks, so
  // that a name cannot forge entries of its own.
  void Write(const std::string& text);

 private:
  os::Files* files_ = nullptr;
  os::System* system_ = nullptr;
  std::string path_;
};

// The log a procedure writes to when its caller gave it none: it drops every line.
RunLog& OrUnwritten(RunLog* log);

// "2026-12-10 09:05:07.042", the local time the line was written.
std::string TimeStamp(const os::LocalTime& time);

}  // namespace runlog
