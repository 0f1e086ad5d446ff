"""An X server of the bench's own (Xvfb), so the programs run as they would on a desktop: with a
display driver, not Wine's stand-in for a missing one."""
import os
import select
import subprocess

START_TIMEOUT_SECONDS = 30
STOP_TIMEOUT_SECONDS = 30


class XServer:
    def __init__(self, log_path):
        self.log_path = log_path
        self.process = None
        self.display = None

    def __enter__(self):
        read_end, write_end = os.pipe()
        with open(self.log_path, "wb") as log:
            self.process = subprocess.Popen(
                ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
                 "-nolisten", "tcp"],
                pass_fds=[write_end], stdin=subprocess.DEVNULL, stdout=log, stderr=log)
        os.close(write_end)
        try:
            # Xvfb writes its display number once it accepts clients.
            ready, _, _ = select.select([read_end], [], [], START_TIMEOUT_SECONDS)
            number = os.read(read_end, 64).decode().strip() if ready else ""
        finally:
            os.close(read_end)
        if not number.isdigit():
            self.__exit__()
            raise RuntimeError(f"Xvfb did not start within {START_TIMEOUT_SECONDS} s; see "
                               f"{self.log_path}")
        self.display = ":" + number
        return self

    def __exit__(self, *exc):
        self.process.terminate()
        try:
            self.process.wait(STOP_TIMEOUT_SECONDS)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
