"""One timed whole-process run: wall-clock seconds from start to reaped exit, and peak memory."""
import dataclasses
import os
import select
import subprocess
import time
from typing import Optional

# A run that takes longer than this has hung; it is stopped and counts as failed.
RUN_TIMEOUT_SECONDS = 600


@dataclasses.dataclass
class Run:
    seconds: float
    peak_kb: int  # largest resident set of the process, in KB
    failure: Optional[str] = None  # why the run does not count; None when it does


def wait_for_exit(pid, timeout):
    """True once process `pid` has ended (a zombie counts), False when `timeout` passed first."""
    fd = os.pidfd_open(pid)
    try:
        ready, _, _ = select.select([fd], [], [], timeout)
        return bool(ready)
    finally:
        os.close(fd)


def run_timed(args, env, stdout_path, stderr_path, timeout=RUN_TIMEOUT_SECONDS):
    """Starts `args`, waits for it and reaps it. Output goes to the two files; the caller checks
    the exit status and the output, and turns a bad one into a failure."""
    with open(stdout_path, "wb") as out, open(stderr_path, "wb") as err:
        start = time.perf_counter()
        process = subprocess.Popen(args, env=env, stdin=subprocess.DEVNULL, stdout=out, stderr=err)
        if not wait_for_exit(process.pid, timeout):
            process.kill()
            process.wait()
            return Run(0.0, 0, f"still running after {timeout} s: {args[0]}")
        _, status, usage = os.wait4(process.pid, 0)
        seconds = time.perf_counter() - start
    process.returncode = os.waitstatus_to_exitcode(status)
    failure = None if process.returncode == 0 else f"exit status {process.returncode}"
    return Run(seconds, usage.ru_maxrss, failure)
