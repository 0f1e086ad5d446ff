"""A Wine prefix served by one persistent wineserver for a whole timed series.

With a persistent server no run pays for the server's start, nor waits for its exit, which comes
only seconds after the last program ended; so whole processes can be timed and nothing needs to
be subtracted. The programs run on an X server of the bench's own. The bench becomes the
subreaper of everything Wine starts (Wine detaches its processes), so it can wait for what a run
left behind, such as the program the shell's "install" verb starts, before the next run begins,
and so it stops all of it at the end."""
import ctypes
import os
import subprocess

import timed
from x_server import XServer

WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"
PR_SET_CHILD_SUBREAPER = 36
# What a run left behind must end within this time, and so must everything at the end.
SETTLE_TIMEOUT_SECONDS = 60
# Wine's own services (services.exe, explorer.exe, rpcss.exe ...) live as long as the server.
WINE_SERVICE_PREFIX = "C:\\windows\\"
# Windows' desktop is always there. Wine's (explorer.exe /desktop) starts with the first window a
# program opens and ends soon after the last program that had one: a window program run after one
# that opened none (the copy loop, NSIS with /S) would pay for the desktop's start, about 0.17 s
# here, and a row's figures would depend on the order of its runs. A program that keeps a window
# open for the whole series keeps the desktop there, as on Windows.
DESKTOP_KEEPER = "notepad.exe"


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def become_subreaper():
    libc = ctypes.CDLL(None, use_errno=True)
    if libc.prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0) != 0:
        raise OSError(ctypes.get_errno(), "prctl(PR_SET_CHILD_SUBREAPER)")


def read_proc(pid, name):
    try:
        with open(f"/proc/{pid}/{name}", "rb") as f:
            return f.read().decode(errors="replace")
    except OSError:
        return None  # ended meanwhile


def own_children():
    """{pid: (state, command line)} of this process's children, the adopted ones included."""
    me, found = os.getpid(), {}
    for entry in os.listdir("/proc"):
        stat = read_proc(entry, "stat") if entry.isdigit() else None
        if stat is None:
            continue
        state, parent = stat[stat.rindex(")") + 2 :].split()[:2]
        if int(parent) == me:
            command = (read_proc(entry, "cmdline") or "").replace("\0", " ").strip()
            found[int(entry)] = (state, command)
    return found


def reap(pid, timeout):
    if not timed.wait_for_exit(pid, timeout):
        return False
    try:
        os.waitpid(pid, 0)
    except ChildProcessError:
        pass  # reaped elsewhere
    return True


class WineWorld:
    def __init__(self, work):
        self.prefix = os.path.join(work, "prefix")
        self.logs = os.path.join(work, "logs")
        home = os.path.join(work, "home")
        os.makedirs(home, exist_ok=True)
        os.makedirs(self.logs, exist_ok=True)
        self.x_server = XServer(os.path.join(self.logs, "xvfb.log"))
        self.env = dict(os.environ)
        self.env.update(
            WINEPREFIX=self.prefix,
            WINEDEBUG="-all",
            HOME=home,
            WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d",
        )
        self.residents = set()  # pids that live as long as the world: the X and Wine servers

    def __enter__(self):
        become_subreaper()
        self.server("-k", check=False)  # a server left by an interrupted bench
        self.x_server.__enter__()
        self.env["DISPLAY"] = self.x_server.display
        self.residents.add(self.x_server.process.pid)
        try:
            if not os.path.exists(os.path.join(self.prefix, "system.reg")):
                self.wine("wineboot", "-i")
                self.server("-w")
            self.server("-p")
            self.keeper = subprocess.Popen([WINE, DESKTOP_KEEPER], env=self.env,
                                      stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                      stderr=subprocess.DEVNULL)
            self.residents.add(self.keeper.pid)
        except BaseException:
            self.__exit__()
            raise
        return self

    def __exit__(self, *exc):
        self.server("-k", check=False)
        self.settle_all()
        self.x_server.__exit__()

    def server(self, *args, check=True):
        subprocess.run([WINESERVER, *args], env=self.env, check=check, stderr=subprocess.DEVNULL)

    def wine(self, *args):
        """An untimed Wine command that must succeed, such as a registry change."""
        subprocess.run([WINE, *args], env=self.env, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.settle()

    def drive_c(self, *parts):
        return os.path.join(self.prefix, "drive_c", *parts)

    def run(self, name, args):
        """A timed whole-process run of a Windows program; `name` names its log files."""
        log = os.path.join(self.logs, name)
        self.settle()
        run = timed.run_timed([WINE, *args], self.env, log + ".out", log + ".err")
        left = self.settle()
        if left and run.failure is None:
            run.failure = f"left running after {SETTLE_TIMEOUT_SECONDS} s: {left}"
        if not self.x_server.is_running() and run.failure is None:
            run.failure = f"the X server ended (see {self.x_server.log_path})"
        if self.keeper.poll() is not None and run.failure is None:
            run.failure = f"the desktop's keeper ({DESKTOP_KEEPER}) ended"
        if run.failure:
            run.failure += f" (Wine's messages: {log}.err)"
        return run

    def settle(self):
        """Waits until nothing but Wine's services is running; returns what did not end."""
        for pid, (state, command) in own_children().items():
            if state == "Z":
                reap(pid, 0)
                self.residents.discard(pid)
            elif pid in self.residents:
                continue
            elif command.startswith(WINE_SERVICE_PREFIX) or command.startswith(WINESERVER):
                self.residents.add(pid)
            elif not reap(pid, SETTLE_TIMEOUT_SECONDS):
                return command
        return None

    def settle_all(self):
        """After the Wine server was told to stop: every process it served ends and is reaped."""
        for pid in own_children():
            if pid != self.x_server.process.pid:
                reap(pid, SETTLE_TIMEOUT_SECONDS)
