#pragma once
// The files of an installation are written under free names beside their final names and put in
// place only once all of them are written. The files they replace are kept until the whole
// installation has succeeded, so that a failure at any point leaves every file that was there
// before, byte for byte: a failed upgrade keeps the working installation.
#include <string>
#include <vector>

#include "integration/staging_names.h"
#include "os/files.h"

namespace install {

class StagedFiles {
 public:
  explicit StagedFiles(os::Files& files) : files_(files) {}
  StagedFiles(const StagedFiles&) = delete;
  StagedFiles& operator=(const StagedFiles&) = delete;

  // Deletes what an installation that was cut off left beside `finalPath` (see staging_names.h).
  void ClearLeftovers(const std::string& finalPath);
  // A free name in the folder of `finalPath` to write its new contents under; empty when there
  // is none. The caller creates the file (and notes it for its rollback).
  std::string Stage(const std::string& finalPath);
  // Puts every staged file in its place, keeping each file it replaces under a free name. False
  // when one cannot be put in place: everything done so far is then undone, and Failure() says
  // which rename failed.
  bool PutInPlace();
  const os::Cause& Failure() const { return failure_; }
  // After a failure, also one after PutInPlace: the files put in place go and the kept ones are
  // back under their names. Staged files not yet in place are the caller's rollback's to delete.
  void Undo();
  // After success: the kept files go (at the next restart, when one is still in use).
  void DropReplaced();

 private:
  struct Entry {
    std::string finalPath;
    std::string stagingPath;
    std::string keptPath;  // the replaced file, while kept; empty when there was none
    bool inPlace = false;
  };

  std::string FreeNameBeside(const std::string& path, integration::StagingRole role);
  bool Fail(const char* step, const std::string& path);

  os::Files& files_;
  std::vector<Entry> entries_;
  os::Cause failure_;
};

}  // namespace install
