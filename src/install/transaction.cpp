#include "install/transaction.h"

#include "runlog/log_lines.h"

namespace install {

using integration::StagingRole;

Transaction::~Transaction() { Undo(); }

void Transaction::NoteCreatedFolders(const std::vector<std::string>& folders) {
  folders_.insert(folders_.end(), folders.begin(), folders.end());
}

void Transaction::ClearLeftovers(const std::string& finalPath) {
  for (const std::string& leftover : integration::StagingLeftovers(files_, finalPath))
    files_.DeleteFileAt(leftover);
}

std::string Transaction::FreeNameBeside(const std::string& path, StagingRole role) const {
  for (int number = 0; number < integration::kStagingNumbers; ++number) {
    std::string name = integration::StagingName(path, role, number);
    if (files_.Attributes(name) == os::kInvalidAttributes) return name;
  }
  return {};
}

std::unique_ptr<os::File> Transaction::Create(const std::string& finalPath) {
  const std::string staging = FreeNameBeside(finalPath, StagingRole::kNew);
  if (staging.empty()) return nullptr;
  // A new file only: nothing is ever written through a name somebody put there in the meantime.
  std::unique_ptr<os::File> file = files_.Open(staging, os::OpenMode::kCreateNew);
  if (!file) return nullptr;
  entries_.push_back(Entry{finalPath, staging, {}, false});
  runlog::File(log_, runlog::FileAction::kStaged, staging);
  return file;
}

bool Transaction::Commit() {
  for (Entry& entry : entries_)
    if (!PutInPlace(entry)) return false;
  return true;
}

// A size that cannot be read is left out.
std::optional<uint64_t> Transaction::SizeOf(const std::string& path) const {
  const std::unique_ptr<os::File> file = files_.Open(path, os::OpenMode::kReadShareAll);
  const int64_t size = file ? file->Size() : -1;
  return size < 0 ? std::nullopt : std::optional<uint64_t>(uint64_t(size));
}

bool Transaction::PutInPlace(Entry& entry) {
  if (os::IsFileNotFolderAt(files_, entry.finalPath)) {
    // Read for the log alone: a run without one opens nothing more.
    const std::optional<uint64_t> size = log_.Active() ? SizeOf(entry.finalPath) : std::nullopt;
    const std::string kept = FreeNameBeside(entry.finalPath, StagingRole::kKept);
    if (kept.empty() || !files_.RenameFile(entry.finalPath, kept))
      return Fail("keep the file to be replaced", entry.finalPath);
    entry.keptPath = kept;
    runlog::File(log_, runlog::FileAction::kReplaced, entry.finalPath, size);
  }
  if (!files_.RenameFile(entry.stagingPath, entry.finalPath))
    return Fail("put the installed file in place", entry.finalPath);
  entry.inPlace = true;
  return true;
}

// The code is read before the undo's own calls can change it.
bool Transaction::Fail(const char* step, const std::string& path) {
  failure_ = os::Cause{step, path, files_.LastError()};
  Undo();
  return false;
}

void Transaction::End() {
  for (Entry& entry : entries_)
    if (!entry.keptPath.empty() && !files_.DeleteFileAt(entry.keptPath))
      files_.DeleteAtReboot(entry.keptPath);
  entries_.clear();
  folders_.clear();
}

void Transaction::Undo() {
  for (auto entry = entries_.rbegin(); entry != entries_.rend(); ++entry) {
    files_.DeleteFileAt(entry->inPlace ? entry->finalPath : entry->stagingPath);
    // Over whatever stands in the way: a new file that could not be deleted must not strand the
    // earlier one under its keeping name.
    if (!entry->keptPath.empty()) files_.MoveOver(entry->keptPath, entry->finalPath);
  }
  entries_.clear();
  // RemoveDirectoryA takes empty folders only, which is exactly the rule here.
  for (auto folder = folders_.rbegin(); folder != folders_.rend(); ++folder)
    files_.RemoveFolder(*folder);
  folders_.clear();
}

}  // namespace install
