#!/usr/bin/python3
"""vorkan in real windows under a virtual X display, used as a person uses it.

On an X display of its own (scripts/with-xvfb.sh), runs the program and
drives it with xdotool (keys through XTEST with the window focused), takes
screenshots with ImageMagick's import, and closes windows with a WM_DELETE_WINDOW client message. Checks window titles,
positions and sizes, picture colours, mouse and keys, the Run menu, recording,
and that Ctrl+Q and the close box each end the program with status 0.

Usage: vorkan_e2e.py PATH/TO/vorkan
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
import with_xvfb  # noqa: E402

MENU_BAR = 19            # rows of the drawn menu bar above the client area
ORIGIN = (297, 248)      # client pixel of toolkit point (0, 0)
RED, BLACK = (255, 0, 0), (0, 0, 0)
NAVY, SEA_GREEN = (0, 51, 153), (51, 204, 153)


class Failures:
    def __init__(self):
        self.passed = 0
        self.failed = 0

    def check(self, name, condition, detail=""):
        if condition:
            self.passed += 1
        else:
            self.failed += 1
            print(f"FAILED: {name} {detail}", flush=True)


def own_display():
    """The X display of this run: started again under scripts/with-xvfb.sh unless already under it."""
    with_xvfb.run_under_xvfb()
    return os.environ["DISPLAY"]


def run(*args, env=None, check=True):
    return subprocess.run(args, env=env, check=check, capture_output=True, text=True).stdout


class Session:
    """One Xvfb server and one run of the program in a scratch directory."""

    def __init__(self, program, display, *args):
        self.display = display
        self.env = dict(os.environ, DISPLAY=display)
        self.env.pop("WAYLAND_DISPLAY", None)
        self.workdir = tempfile.mkdtemp(prefix="vorkan-e2e-")
        self.started = time.monotonic()
        self.process = subprocess.Popen([program, *args], cwd=self.workdir, env=self.env,
                                        stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        self.graphics = self.find_window("KV318 Graphics")
        self.text = self.find_window("KV318 Text")

    def find_window(self, title):
        deadline = time.monotonic() + 15
        while time.monotonic() < deadline:
            # By process too: a window of the previous run may linger for a moment.
            out = run("xdotool", "search", "--all", "--pid", str(self.process.pid), "--name", f"^{title}$",
                      env=self.env, check=False).split()
            if out:
                return out[0]
            if self.process.poll() is not None:
                break
            time.sleep(0.05)
        status = self.process.poll()
        errors = self.process.stderr.read().decode() if status is not None else ""
        raise RuntimeError(f"window {title!r} never appeared (program status {status}) {errors}")

    def geometry(self, window):
        out = run("xdotool", "getwindowgeometry", "--shell", window, env=self.env)
        values = dict(line.split("=", 1) for line in out.split())
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def title(self, window):
        return run("xdotool", "getwindowname", window, env=self.env).strip()

    def screenshot(self, window=None):
        """The window's pixels as (width, height, rows of RGB tuples)."""
        data = subprocess.run(["/usr/bin/import", "-window", window or self.graphics, "ppm:-"],
                              env=self.env, check=True, capture_output=True).stdout
        return parse_ppm(data)

    def client_pixel(self, shot, toolkit_x, toolkit_y):
        width, height, pixels = shot
        x, y = ORIGIN[0] + toolkit_x, ORIGIN[1] - toolkit_y + MENU_BAR
        return pixels[y * width + x]

    def click(self, frame_x, frame_y):
        run("xdotool", "mousemove", "--window", self.graphics, str(frame_x), str(frame_y),
            "click", "1", env=self.env)

    def click_toolkit(self, toolkit_x, toolkit_y):
        self.click(ORIGIN[0] + toolkit_x, ORIGIN[1] - toolkit_y + MENU_BAR)

    def ctrl(self, letter):
        run("xdotool", "windowfocus", "--sync", self.graphics, env=self.env)
        run("xdotool", "keydown", "ctrl", "key", letter, "keyup", "ctrl", env=self.env)

    def close_box(self, window):
        """What the window manager sends when the close box is clicked."""
        from Xlib import X, display, protocol
        connection = display.Display(self.display)
        target = connection.create_resource_object("window", int(window))
        delete = connection.intern_atom("WM_DELETE_WINDOW")
        protocols = connection.intern_atom("WM_PROTOCOLS")
        event = protocol.event.ClientMessage(window=target, client_type=protocols,
                                             data=(32, [delete, X.CurrentTime, 0, 0, 0]))
        target.send_event(event, event_mask=X.NoEventMask)
        connection.sync()  # the server has taken the request before the connection goes
        connection.close()

    def wait_exit(self, seconds=20):
        try:
            return self.process.wait(timeout=seconds)
        except subprocess.TimeoutExpired:
            self.process.kill()
            return None

    def script(self):
        path = os.path.join(self.workdir, "KV318.SCR")
        return open(path).read() if os.path.exists(path) else None

    def close(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        shutil.rmtree(self.workdir, ignore_errors=True)


def parse_ppm(data):
    parts = data.split(maxsplit=4)
    assert parts[0] == b"P6", "expected a binary PPM"
    width, height, maxval = int(parts[1]), int(parts[2]), int(parts[3])
    raw = parts[4]
    step = 2 if maxval > 255 else 1
    pixels = []
    for i in range(width * height):
        base = i * 3 * step
        pixels.append(tuple(raw[base + c * step] for c in range(3)))
    return width, height, pixels


def near(colour, expected, tolerance=8):
    return all(abs(a - b) <= tolerance for a, b in zip(colour, expected))


def settle():
    time.sleep(0.4)


def wait_for(condition, seconds=8.0):
    """Polls until condition() holds; the machine may be busy, so fixed sleeps are not enough."""
    deadline = time.monotonic() + seconds
    while True:
        if condition():
            return True
        if time.monotonic() > deadline:
            return False
        time.sleep(0.1)


def still_picture(s, tries=4):
    """True when two screenshots a second apart are identical (a frame may be in flight at first)."""
    for _ in range(tries):
        first = s.screenshot()[2]
        time.sleep(1.0)
        if s.screenshot()[2] == first:
            return True
    return False


def windows_and_title_screen(s, f):
    f.check("graphics window title", s.title(s.graphics) == "KV318 Graphics")
    f.check("text window title", s.title(s.text) == "KV318 Text")
    x, y, w, h = s.geometry(s.graphics)
    f.check("graphics window at (0,0), client 595x496 under the menu bar", (x, y, w, h) == (0, 0, 595, 496 + MENU_BAR),
            f"got {(x, y, w, h)}")
    x, y, w, h = s.geometry(s.text)
    f.check("text window at (0,550), a third of the screen high", (x, y) == (0, 550) and w <= 601 and h <= 768 // 3,
            f"got {(x, y, w, h)}")
    wait_for(lambda: near(s.client_pixel(s.screenshot(), -240, 245), RED))
    shot = s.screenshot()
    f.check("title field is red", near(s.client_pixel(shot, -240, 245), RED), str(s.client_pixel(shot, -240, 245)))
    f.check("title oval is black", near(s.client_pixel(shot, -150, 0), BLACK), str(s.client_pixel(shot, -150, 0)))
    f.check("title corner is black", near(s.client_pixel(shot, -296, 246), BLACK))


def click_leaves_title(s, f):
    s.click_toolkit(100, 0)
    wait_for(lambda: near(s.client_pixel(s.screenshot(), 250, -240), SEA_GREEN))
    shot = s.screenshot()
    f.check("the scene's ground shows after a click", near(s.client_pixel(shot, 250, -240), SEA_GREEN),
            str(s.client_pixel(shot, 250, -240)))
    sky = [s.client_pixel(shot, x, 230) for x in (-100, -50, 0, 50, 100)]
    f.check("the scene's sky is navy", sum(near(p, NAVY) for p in sky) >= 3, str(sky))


def halt_and_resume(s, f):
    s.ctrl("h")
    settle()
    f.check("Ctrl+H halts the animation", still_picture(s))
    halted = s.screenshot()[2]
    s.ctrl("a")
    f.check("Ctrl+A resumes it", wait_for(lambda: s.screenshot()[2] != halted))


def recording(s, f):
    s.ctrl("h")
    settle()
    s.ctrl("r")
    settle()
    s.click_toolkit(10, -20)
    settle()
    s.click_toolkit(-150, 75)
    settle()
    s.ctrl("r")
    wait_for(lambda: "KV318_MOUSE(-150, 75);" in (s.script() or ""))
    text = s.script() or ""
    f.check("recording writes the clicks in toolkit coordinates",
            "KV318_MOUSE(10, -20);\n" in text and "KV318_MOUSE(-150, 75);\n" in text, repr(text))


def run_menu(s, f):
    s.ctrl("h")
    settle()
    still_picture(s)
    before = s.screenshot()[2]

    def popup_shown():
        width, _, pixels = s.screenshot()
        row = [pixels[70 * width + x] for x in range(5, 300, 10)]
        return sum(near(p, (212, 208, 200), 12) for p in row) > 10

    s.click(15, 9)  # the "Run" title
    f.check("the Run menu opens over the picture", wait_for(popup_shown))
    s.click(70, 64)  # "Advance one frame"
    f.check("Advance one frame draws one more frame",
            wait_for(lambda: not popup_shown() and s.screenshot()[2] != before))
    f.check("and then the animation stays halted", still_picture(s, tries=2))


def ctrl_q_quits(s, f):
    s.ctrl("q")
    f.check("Ctrl+Q ends the program with status 0", s.wait_exit() == 0)


def close_box_quits(s, f):
    wait_for(lambda: near(s.client_pixel(s.screenshot(), -240, 245), RED))  # shown, as a person would see it
    s.close_box(s.graphics)
    status = s.wait_exit()
    f.check("the close box ends the program with status 0", status == 0, f"status {status}")


def main():
    display = own_display()
    program = os.path.abspath(sys.argv[1])
    f = Failures()
    s = Session(program, display)
    try:
        windows_and_title_screen(s, f)
        click_leaves_title(s, f)
        halt_and_resume(s, f)
        recording(s, f)
        run_menu(s, f)
        ctrl_q_quits(s, f)
    finally:
        s.close()
    # A word that is no option (a file opened with the program) is ignored: it starts as usual.
    s = Session(program, display, "notes.txt")
    try:
        close_box_quits(s, f)
    finally:
        s.close()
    print(f"{f.passed} passed, {f.failed} failed")
    return 0 if f.failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
