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
        # Xvfb writes its display number and a newline once it accepts clients; it dies when the
        # pipe is closed before it has written all of it.
        self.display_pipe = read_end
        number = self.read_line(read_end)
        if not number.isdigit() or not self.is_running():
            self.__exit__()
            raise RuntimeError(f"Xvfb did not start within {START_TIMEOUT_SECONDS} s; see "
                               f"{self.log_path}")
        self.display = ":" + number
        return self

    @staticmethod
    def read_line(fd):
        text = b""
        while not text.endswith(b"\n"):
            ready, _, _ = select.select([fd], [], [], START_TIMEOUT_SECONDS)
            chunk = os.read(fd, 64) if ready else b""
            if not chunk:
                break
            text += chunk
        return text.decode().strip()

    def is_running(self):
        return self.process.poll() is None

    def __exit__(self, *exc):
        os.close(self.display_pipe)
        self.process.terminate()
        try:
            self.process.wait(STOP_TIMEOUT_SECONDS)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
