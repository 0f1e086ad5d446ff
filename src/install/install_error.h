#pragma once
// An installation step that could not be completed. Inside the main block it leads to the failure
// handler; its text is never shown on its own, the user sees the "not complete" message instead.
#include "package/errors.h"

namespace install {

class InstallError : public package::Error {
 public:
  using Error::Error;
};

// The image as copied differs from its checksum: the setup file is damaged. The user is told so
// rather than that the installation could not be completed.
class DamagedImage : public InstallError {
 public:
  DamagedImage() : InstallError("The screen saver differs from its checksum.") {}
};

}  // namespace install
