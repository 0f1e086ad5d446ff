#pragma once
// What one installation attempt put on the disk, so that a failed attempt can take it away again.
// Only what the attempt created itself is noted: a file or folder that was there before is never
// taken away; the files an installation replaces are kept by StagedFiles.
#include <string>
#include <vector>

#include "os/files.h"

namespace install {

class Rollback {
 public:
  explicit Rollback(os::Files& files) : files_(files) {}

  // Folders the attempt created, outermost first.
  void NoteCreatedFolders(const std::vector<std::string>& folders);
  // A file the attempt is about to create; nothing is noted when something of that name exists.
  void NoteNewFile(const std::string& path);
  // Deletes the noted files, then removes the noted folders innermost first, each only when it
  // is empty. Reports nothing: what cannot go stays. Forgets what it has done, so a second call
  // does nothing.
  void Run();

 private:
  os::Files& files_;
  std::vector<std::string> folders_;
  std::vector<std::string> newFiles_;
};

}  // namespace install
