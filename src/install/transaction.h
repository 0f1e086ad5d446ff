#pragma once
// Everything one installation attempt puts on the disk or moves aside, so that the attempt ends
// either with all of it in place or with the folder as it found it: a failed upgrade keeps the
// working installation byte for byte.
//
// The files are created under staging names beside their final names, each registered by the
// call that creates it. Commit puts all of them in place by renames, keeping each file it
// replaces under a keeping name; End drops the kept files once the installation has succeeded.
// Undo, or the destructor of a transaction that was not ended, takes back every step in reverse:
// the files put in place go, the kept ones return under their names, the staged files and the
// folders the attempt made go. Nothing that was there before the attempt is ever taken away.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "integration/staging_names.h"
#include "os/failure.h"
#include "os/files.h"
#include "runlog/run_log.h"

namespace install {

class Transaction {
 public:
  Transaction(os::Files& files, runlog::RunLog& log) : files_(files), log_(log) {}
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  // Folders the attempt created, outermost first.
  void NoteCreatedFolders(const std::vector<std::string>& folders);
  // Deletes what an installation that was cut off left beside `finalPath`. What cannot go is in
  // use, by another setup perhaps: staging picks the next free name then.
  void ClearLeftovers(const std::string& finalPath);
  // A new file that will become `finalPath`, under a free staging name; null when there is no
  // free name or the file cannot be created (the files' LastError tells why).
  std::unique_ptr<os::File> Create(const std::string& finalPath);
  // Puts every staged file in its place; its own files must be closed. False when one cannot be
  // put in place: everything is then undone, and Failure() says which rename failed.
  bool Commit();
  const os::Cause& Failure() const { return failure_; }
  // After success: the kept files go (at the next restart, when one is still in use), and the
  // transaction has nothing left to undo.
  void End();
  // Takes back everything the attempt did; a second call does nothing. What cannot go stays:
  // there is nothing more to try.
  void Undo();

 private:
  struct Entry {
    std::string finalPath;
    std::string stagingPath;
    std::string keptPath;  // the replaced file, while kept; empty when there was none
    bool inPlace = false;
  };

  std::string FreeNameBeside(const std::string& path, integration::StagingRole role) const;
  bool PutInPlace(Entry& entry);
  std::optional<uint64_t> SizeOf(const std::string& path) const;
  bool Fail(const char* step, const std::string& path);

  os::Files& files_;
  runlog::RunLog& log_;
  std::vector<std::string> folders_;
  std::vector<Entry> entries_;
  os::Cause failure_;
};

}  // namespace install
