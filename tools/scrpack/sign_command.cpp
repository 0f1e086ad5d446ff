#include "scrpack/sign_command.h"

#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "language/translation.h"
#include "scrpack/build_options.h"

namespace scrpack {
namespace {

// For /bin/sh, a path in single quotes, each quote in it closed, escaped and reopened; cmd.exe
// takes double quotes, which no Windows file name holds.
std::string ShellQuoted(const std::string& path) {
#ifdef _WIN32
  return "\"" + path + "\"";
#else
  return "'" + language::ReplaceAll(path, "'", "'\\''") + "'";
#endif
}

}  // namespace

void CheckSignCommand(const std::string& where, const std::string& command) {
  for (const char* placeholder : {kInPlaceholder, kOutPlaceholder}) {
    if (command.find(placeholder) == std::string::npos)
      throw UsageError(
          where + " must hold " + placeholder +
          " (the file to sign) and {out} (where the signed copy goes); this one has no " +
          placeholder);
  }
}

std::string SignCommandLine(const std::string& command, const std::string& in,
                            const std::string& out) {
  // One pass, so that a path holding "{out}" is not replaced again.
  std::string line;
  for (std::size_t at = 0; at < command.size();) {
    if (command.compare(at, sizeof kInPlaceholder - 1, kInPlaceholder) == 0) {
      line += ShellQuoted(in);
      at += sizeof kInPlaceholder - 1;
    } else if (command.compare(at, sizeof kOutPlaceholder - 1, kOutPlaceholder) == 0) {
      line += ShellQuoted(out);
      at += sizeof kOutPlaceholder - 1;
    } else {
      line += command[at++];
    }
  }
  return line;
}

void Sign(const std::string& command, const std::string& in, const std::string& out,
          const std::string& what) {
  const int status = RunShellCommand(SignCommandLine(command, in, out));
  if (status != 0)
    throw std::runtime_error(
        "the sign command failed on " + what +
        (status < 0 ? std::string(": it could not be started")
                    : " (exit status " + std::to_string(status) +
                          (status == 127 ? ": the shell found no such command" : "") + ")"));
  std::error_code error;
  if (!std::filesystem::is_regular_file(std::filesystem::u8path(out), error))
    throw std::runtime_error("the sign command ended without writing {out} for " + what);
}

}  // namespace scrpack
