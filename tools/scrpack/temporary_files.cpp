#include "scrpack/temporary_files.h"

#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "scrpack/input_file.h"

namespace scrpack {
namespace {

namespace fs = std::filesystem;

void RemoveAll(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) {
    std::error_code ignored;
    fs::remove(fs::u8path(path), ignored);
  }
}

}  // namespace

TemporaryFiles::TemporaryFiles(std::vector<std::string> paths) : paths_(std::move(paths)) {
  RemoveAll(paths_);
}

TemporaryFiles::~TemporaryFiles() { RemoveAll(paths_); }

void TemporaryFiles::MoveInPlace(const std::string& temporary, const std::string& output,
                                 const std::string& name) {
  std::error_code renamed;
  fs::rename(fs::u8path(temporary), fs::u8path(output), renamed);
  if (renamed) throw std::runtime_error(name + ": cannot replace it: " + renamed.message());
}

}  // namespace scrpack
