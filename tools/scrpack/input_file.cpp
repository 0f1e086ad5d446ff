#include "scrpack/input_file.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "scrpack/build_options.h"

namespace scrpack {

namespace fs = std::filesystem;

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

std::string LastReason(int fallback) {
  return std::error_code(errno ? errno : fallback, std::generic_category()).message();
}

std::string WhyUnreadable(const std::string& path) {
  const fs::path file = fs::u8path(path);
  std::error_code error;
  if (fs::is_directory(file, error)) return "it is a folder, not a file";
  static_cast<void>(fs::file_size(file, error));
  if (error) return error.message();
  errno = 0;
  std::ifstream probe(file, std::ios::binary);
  if (probe) return "it could not be read to its end";
  return LastReason(EACCES);
}

InputFile OpenInputFile(const std::string& where, const std::string& path) {
  const fs::path file = fs::u8path(path);
  std::error_code error;
  if (fs::is_directory(file, error))
    throw UsageError(where + ": " + Quoted(path) + " is a folder, not a file");
  const auto size = fs::file_size(file, error);
  if (error) throw UsageError(where + ": cannot read " + Quoted(path) + ": " + error.message());
  InputFile input;
  input.where = where;
  input.path = path;
  errno = 0;
  input.stream.open(file, std::ios::binary);
  if (!input.stream)
    throw UsageError(where + ": cannot read " + Quoted(path) + ": " + LastReason(EACCES));
  input.size = static_cast<int64_t>(size);
  return input;
}

std::string ReadChunk(InputFile& input, std::size_t count) {
  std::string bytes(count, '\0');
  input.stream.read(&bytes[0], static_cast<std::streamsize>(count));
  if (static_cast<std::size_t>(input.stream.gcount()) != count)
    throw std::runtime_error(input.where + ": " + Quoted(input.path) +
                             " could not be read to its end");
  return bytes;
}

std::string ReadInputFile(const std::string& where, const std::string& path) {
  InputFile input = OpenInputFile(where, path);
  return ReadChunk(input, static_cast<std::size_t>(input.size));
}

}  // namespace scrpack
