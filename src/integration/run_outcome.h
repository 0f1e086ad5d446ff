#pragma once
// How an installation or a removal ended, in the terms the exit code gives it, and why, when an
// error ended it. Both procedures return it; the entry point maps it to the process exit code.
#include <optional>

#include "os/failure.h"
#include "package/errors.h"

namespace integration {

enum class RunResult {
  kStoppedUnchanged,  // nothing was written (or removed): the user said No, or chose a bad folder
  kDone,
  kFailedPartWay,  // writing had begun: setup took back what it wrote, a removal left something
};

struct RunOutcome {
  RunResult result = RunResult::kStoppedUnchanged;
  // The step that failed, when an error ended the run; kept for whoever explains the failure.
  std::optional<os::Cause> cause;
};

// The cause an error carries; its text stands for the step when the thrower knew none.
inline os::Cause CauseOf(const package::Error& error) {
  os::Cause cause = error.Cause();
  if (cause.step.empty()) cause.step = error.what();
  return cause;
}

}  // namespace integration
