#include "install/rollback.h"

namespace install {

void Rollback::NoteCreatedFolders(const std::vector<std::string>& folders) {
  folders_.insert(folders_.end(), folders.begin(), folders.end());
}

void Rollback::NoteNewFile(const std::string& path) {
  if (files_.Attributes(path) == os::kInvalidAttributes) newFiles_.push_back(path);
}

void Rollback::Run() {
  for (const std::string& path : newFiles_) files_.DeleteFileAt(path);
  // RemoveDirectoryA takes empty folders only, which is exactly the rule here.
  for (auto folder = folders_.rbegin(); folder != folders_.rend(); ++folder)
    files_.RemoveFolder(*folder);
  newFiles_.clear();
  folders_.clear();
}

}  // namespace install
