#pragma once
// The author's signing tool, run by scrpack on the uninstaller it computed and on the finished
// setup file: a command line holding {in} (the file to sign) and {out} (where the signed copy
// goes), run by the system's shell (/bin/sh, cmd.exe on Windows).
#include <string>

namespace scrpack {

constexpr char kInPlaceholder[] = "{in}";
constexpr char kOutPlaceholder[] = "{out}";

// Throws UsageError naming `where` when the command lacks {in} or {out}.
void CheckSignCommand(const std::string& where, const std::string& command);

// The command with each placeholder replaced by its path, quoted for the shell.
std::string SignCommandLine(const std::string& command, const std::string& in,
                            const std::string& out);

// Runs `commandLine` through the shell and waits for it; returns its exit status, or -1 when it
// could not be started (sign_command_posix.cpp, sign_command_win32.cpp).
int RunShellCommand(const std::string& commandLine);

// Runs the command on `in`; throws std::runtime_error when it fails or writes no `out`. `what`
// names the file being signed in messages.
void Sign(const std::string& command, const std::string& in, const std::string& out,
          const std::string& what);

}  // namespace scrpack
