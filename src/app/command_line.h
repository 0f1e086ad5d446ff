#pragma once
// The command line as this program reads it: blanks are any code up to 32, a double-quoted
// stretch may hold blanks, the quotes themselves are dropped, and there is no escape character.
// (Not the C runtime's rule: a backslash before a quote is an ordinary character here.)
#include <cstddef>
#include <string>
#include <vector>

namespace app {

class CommandLine {
 public:
  explicit CommandLine(std::vector<std::string> args) : args_(std::move(args)) {}
  // Splits a whole command line; argument 0 is the program's own path.
  static CommandLine Parse(const std::string& commandLine);

  // Arguments after argument 0.
  std::size_t Count() const { return args_.empty() ? 0 : args_.size() - 1; }
  // Argument i, or the empty text when there is none.
  std::string Arg(std::size_t i) const { return i < args_.size() ? args_[i] : std::string(); }

 private:
  std::vector<std::string> args_;
};

std::vector<std::string> SplitArguments(const std::string& commandLine);

// Argument 1, trimmed of blanks and control characters and with A-Z lowered, is "-silent".
bool IsSilentSwitch(const CommandLine& commandLine);

// Argument 1 is exactly "-delfile" and a file to delete follows.
bool IsDelFileMode(const CommandLine& commandLine);

}  // namespace app
