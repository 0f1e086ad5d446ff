#pragma once
// An installation step that could not be completed. Inside the main block it leads to the failure
// handler; its text is never shown on its own, the user sees the "not complete" message instead.
#include <stdexcept>

namespace setupmain {

class InstallError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace setupmain
