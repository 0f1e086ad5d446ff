#pragma once
// Files scrpack reads. Paths are UTF-8 on every platform (on Windows the command line arrives as
// UTF-16 and is turned into UTF-8 first), so names outside the ANSI code page work too. A file that
// cannot be read is a UsageError naming the option, the path and the system's reason.
#include <cerrno>
#include <cstdint>
#include <fstream>
#include <string>

namespace scrpack {

// A file opened for reading from its start, its size known.
struct InputFile {
  std::string where;  // the option or project entry that named it
  std::string path;
  std::ifstream stream;
  int64_t size = 0;
};

InputFile OpenInputFile(const std::string& where, const std::string& path);

// The whole file.
std::string ReadInputFile(const std::string& where, const std::string& path);

// The next `count` bytes; throws std::runtime_error when the file ends early or cannot be read.
std::string ReadChunk(InputFile& input, std::size_t count);

// Why the file at `path` cannot be read, in the system's words ("No such file or directory").
std::string WhyUnreadable(const std::string& path);

// The system's words for the error the last failed call left in errno, `fallback`'s when it left
// none; every message about a file that cannot be opened, created or written gives its reason so.
// Clear errno before the call.
std::string LastReason(int fallback = EIO);

// `path` quoted for messages.
std::string Quoted(const std::string& path);

}  // namespace scrpack
