#include "runlog/run_log.h"

namespace runlog {

namespace {

std::string Digits(unsigned value, std::size_t width) {
  std::string digits = std::to_string(value);
  return std::string(digits.size() < width ? width - digits.size() : 0, '0') + digits;
}

std::string OneLine(std::string text) {
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 32 || c == 127) c = ' ';
  return text;
}

}  // namespace

RunLog::RunLog(os::Files& files, os::System& system, std::string path)
    : files_(&files), system_(&system), path_(std::move(path)) {}

std::string TimeStamp(const os::LocalTime& time) {
  return Digits(time.year, 4) + '-' + Digits(time.month, 2) + '-' + Digits(time.day, 2) + ' ' +
         Digits(time.hour, 2) + ':' + Digits(time.minute, 2) + ':' + Digits(time.second, 2) + '.' +
         Digits(time.millisecond, 3);
}

std::string RunLog::ErrorText(os::ErrorCode code) const {
  return Active() ? system_->ErrorText(code) : std::string();
}

// Opened for appending on every line: the system puts each write at the end of the file, also
// while the uninstaller's temporary copy or a second run writes to the same log.
void RunLog::Write(const std::string& text) {
  if (!Active()) return;
  const std::string line = TimeStamp(system_->Now()) + "  " + OneLine(text) + "\r\n";
  const std::unique_ptr<os::File> file = files_->Open(path_, os::OpenMode::kAppendShareAll);
  if (!file) return;
  uint32_t written = 0;
  file->Write(line.data(), static_cast<uint32_t>(line.size()), written);
}

RunLog& OrUnwritten(RunLog* log) {
  static RunLog unwritten;  // never active, so never written to
  return log ? *log : unwritten;
}

}  // namespace runlog
