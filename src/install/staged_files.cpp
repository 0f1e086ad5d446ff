#include "install/staged_files.h"

namespace install {

using integration::StagingRole;

std::string StagedFiles::FreeNameBeside(const std::string& path, StagingRole role) {
  for (int number = 0; number < integration::kStagingNumbers; ++number) {
    std::string name = integration::StagingName(path, role, number);
    if (files_.Attributes(name) == os::kInvalidAttributes) return name;
  }
  return {};
}

void StagedFiles::ClearLeftovers(const std::string& finalPath) {
  // What cannot go is in use, by another setup perhaps: staging picks the next free name then.
  for (const std::string& leftover : integration::StagingLeftovers(files_, finalPath))
    files_.DeleteFileAt(leftover);
}

std::string StagedFiles::Stage(const std::string& finalPath) {
  const std::string staging = FreeNameBeside(finalPath, StagingRole::kNew);
  if (!staging.empty()) entries_.push_back(Entry{finalPath, staging, {}, false});
  return staging;
}

// The code is read before the undo's own calls can change it.
bool StagedFiles::Fail(const char* step, const std::string& path) {
  failure_ = os::Cause{step, path, files_.LastError()};
  Undo();
  return false;
}

bool StagedFiles::PutInPlace() {
  for (Entry& entry : entries_) {
    if (os::IsFileNotFolderAt(files_, entry.finalPath)) {
      const std::string kept = FreeNameBeside(entry.finalPath, StagingRole::kKept);
      if (kept.empty() || !files_.RenameFile(entry.finalPath, kept))
        return Fail("keep the file to be replaced", entry.finalPath);
      entry.keptPath = kept;
    }
    if (!files_.RenameFile(entry.stagingPath, entry.finalPath))
      return Fail("put the installed file in place", entry.finalPath);
    entry.inPlace = true;
  }
  return true;
}

void StagedFiles::Undo() {
  for (auto entry = entries_.rbegin(); entry != entries_.rend(); ++entry) {
    if (entry->inPlace) files_.DeleteFileAt(entry->finalPath);
    // Over whatever stands in the way: a new file that could not be deleted must not strand the
    // earlier one under its keeping name.
    if (!entry->keptPath.empty()) files_.MoveOver(entry->keptPath, entry->finalPath);
    entry->inPlace = false;
    entry->keptPath.clear();
  }
}

void StagedFiles::DropReplaced() {
  for (Entry& entry : entries_) {
    if (entry.keptPath.empty()) continue;
    if (!files_.DeleteFileAt(entry.keptPath)) files_.DeleteAtReboot(entry.keptPath);
    entry.keptPath.clear();
  }
}

}  // namespace install
