#pragma once
// The files scrpack writes before the output is complete. Each is removed when the command ends,
// whichever way it ends; the one that becomes the output is renamed into place instead.
#include <string>
#include <vector>

namespace scrpack {

class TemporaryFiles {
 public:
  // Removes any left over from an earlier run, so that what is found later was written now.
  explicit TemporaryFiles(std::vector<std::string> paths);
  ~TemporaryFiles();
  TemporaryFiles(const TemporaryFiles&) = delete;
  TemporaryFiles& operator=(const TemporaryFiles&) = delete;

  // Renames `temporary` to `output`, replacing it; throws std::runtime_error starting with
  // `name` (the output as messages name it).
  void MoveInPlace(const std::string& temporary, const std::string& output,
                   const std::string& name);

 private:
  std::vector<std::string> paths_;
};

}  // namespace scrpack
