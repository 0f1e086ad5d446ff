#include "install/staged_files.h"

namespace install {

std::string StagedFiles::FreeNameBeside(const std::string& path, const char* tag) {
  for (int number = 0; number <= 9; ++number) {
    const std::string name = path + tag + (number == 0 ? "" : std::to_string(number));
    if (files_.Attributes(name) == os::kInvalidAttributes) return name;
  }
  return {};
}

std::string StagedFiles::Stage(const std::string& finalPath) {
  const std::string staging = FreeNameBeside(finalPath, ".new");
  if (!staging.empty()) entries_.push_back(Entry{finalPath, staging, {}, false});
  return staging;
}

bool StagedFiles::PutInPlace() {
  for (Entry& entry : entries_) {
    if (os::IsFileNotFolderAt(files_, entry.finalPath)) {
      const std::string kept = FreeNameBeside(entry.finalPath, ".old");
      if (kept.empty() || !files_.RenameFile(entry.finalPath, kept)) return Undo(), false;
      entry.keptPath = kept;
    }
    if (!files_.RenameFile(entry.stagingPath, entry.finalPath)) return Undo(), false;
    entry.inPlace = true;
  }
  return true;
}

void StagedFiles::Undo() {
  for (auto entry = entries_.rbegin(); entry != entries_.rend(); ++entry) {
    if (entry->inPlace) files_.DeleteFileAt(entry->finalPath);
    if (!entry->keptPath.empty()) files_.RenameFile(entry->keptPath, entry->finalPath);
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
