"""A Wine prefix with its server, ended by process id, on the given X display.

The prefix is always a fresh one in a temporary directory, removed at the end,
so the check never touches a prefix of the user's."""
import os
import shutil
import signal
import subprocess
import tempfile
import time


class WineServer:
    def __init__(self, display):
        self.display = display
        self.wineserver = None
        self.boot_seconds = 0.0
        self.prefix = tempfile.mkdtemp(prefix="vorkan-wineprefix-")

    def environment(self, display):
        env = dict(os.environ, DISPLAY=display, WINEPREFIX=self.prefix, WINEDEBUG="-all",
                   # No Mono or Gecko: the programs need neither, and their installers would ask.
                   WINEDLLOVERRIDES="mscoree,mshtml=")
        env.pop("WAYLAND_DISPLAY", None)
        return env

    def __enter__(self):
        try:
            self.start()
        except BaseException:
            self.__exit__()
            raise
        return self

    def start(self):
        env = self.environment(self.display)
        # A persistent server for the whole check: its process id is ours to end.
        self.wineserver = subprocess.Popen(["wineserver", "--foreground", "--persistent"], env=env,
                                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        started = time.monotonic()
        # A fresh prefix's first start seldom fails on a loaded machine; a second one finishes it.
        for attempt in (1, 2):
            boot = subprocess.run(["wine", "wineboot", "--init"], env=env, timeout=240,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            if boot.returncode == 0:
                break
            print(f"wineboot failed with status {boot.returncode} (attempt {attempt})", flush=True)
        else:
            raise RuntimeError("the Wine prefix could not be started")
        self.boot_seconds = time.monotonic() - started

    def __exit__(self, *exc):
        # The prefix's server ends every Wine process of the prefix, then itself.
        subprocess.run(["wineserver", "--kill"], env=self.environment(self.display), timeout=30,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for pid in self.prefix_processes():
            os.kill(pid, signal.SIGKILL)
        if self.wineserver and self.wineserver.poll() is None:
            self.wineserver.send_signal(signal.SIGTERM)
            try:
                self.wineserver.wait(timeout=15)
            except subprocess.TimeoutExpired:
                self.wineserver.kill()
                self.wineserver.wait()
        shutil.rmtree(self.prefix, ignore_errors=True)
        return False

    def prefix_processes(self):
        """Ids of the processes still running in this prefix (none, when the server did its work)."""
        marker = f"WINEPREFIX={self.prefix}".encode()
        found = []
        for entry in os.listdir("/proc"):
            if not entry.isdigit() or int(entry) == os.getpid():
                continue
            try:
                with open(f"/proc/{entry}/environ", "rb") as environ:
                    if marker in environ.read().split(b"\0"):
                        found.append(int(entry))
            except OSError:
                continue
        return found
