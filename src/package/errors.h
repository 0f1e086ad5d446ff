#pragma once
#include <stdexcept>

namespace package {

// The package is missing, truncated or inconsistent. Start-up turns it into
// "The file is corrupted. Setup can not continue."
class CorruptedPackage : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Writing a file out of the package (the uninstaller) fell short: a read or a write delivered
// fewer bytes than asked.
class WriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace package
