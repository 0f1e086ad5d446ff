#pragma once
// The system's code for an object's last failed call, taken right after the call, before anything
// else can change the thread's last error. A call that succeeds leaves it as it was.
#include <windows.h>

#include <string>

#include "os/failure.h"

namespace os::win32 {

class KeptError {
 public:
  os::ErrorCode Code() const { return code_; }

  // For calls that report failure through their result and GetLastError; passes `ok` on.
  bool Keep(bool ok) {
    if (!ok) code_ = GetLastError();
    return ok;
  }
  // For texts that come back empty when the call failed.
  std::string KeepText(std::string text) {
    Keep(!text.empty());
    return text;
  }
  // For the Reg* calls, which return their code.
  bool KeepStatus(LONG status) {
    if (status != ERROR_SUCCESS) code_ = static_cast<os::ErrorCode>(status);
    return status == ERROR_SUCCESS;
  }
  // For a failure found before any call was made: the code the call would have given.
  bool Refuse(os::ErrorCode code) {
    code_ = code;
    return false;
  }

 private:
  os::ErrorCode code_ = 0;
};

}  // namespace os::win32
