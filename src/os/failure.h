#pragma once
// Why a call on the OS boundary failed: the system's own error code, kept so that a failure can be
// explained (in the log, in a test, in a support request) and not only noticed.
#include <cstdint>
#include <string>

namespace os {

// A Win32 error code (winerror.h): what GetLastError says, or the LONG a Reg* call returns.
// 0 when none is known.
using ErrorCode = uint32_t;

// ERROR_FILE_NOT_FOUND, also what the registry says of a key or value that is not there: a
// removal that finds nothing to remove has not failed.
constexpr ErrorCode kErrorFileNotFound = 2;

// Each object of the boundary keeps the code of its own last failed call, as a thread's last-error
// value does in Win32: read it right after the call that failed. A successful call leaves it as
// it was.
class FailureSource {
 public:
  virtual ~FailureSource() = default;
  virtual ErrorCode LastError() const { return 0; }
};

// One step of an installation or removal that failed: what was being done, to which path, and
// the system's reason.
struct Cause {
  std::string step;  // what was being done, in a few words ("copy the screen saver")
  std::string path;  // the file, folder or key it was done to; empty when none
  ErrorCode code = 0;
};

}  // namespace os
