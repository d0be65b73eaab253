#!/usr/bin/python3
"""vorkan.exe, the Win32 build, under Wine in a virtual X display, used as a person uses it.

On an X display of its own (scripts/with-xvfb.sh), starts a private Wine
prefix in a temporary directory, runs the program, and checks: the "KV318
Graphics" window, title-screen colours at known pixels, a click into the
scene, a click recorded with Ctrl+R into KV318.SCR, its playback with Ctrl+P,
Ctrl+Q ending with status 0, and then in a second run the close box ending
with status 0. With --own-main (once per program), also a
student's program that has its own main instead of WinMain (a GUI program):
its windows, its animation running, and the close box ending it with status 0.
Ends its own Wine server by process id.

With --layouts, typing on German and French keyboards as
tests/e2e/keyboard_layouts.py does.

Usage: wine_check.py PATH/TO/vorkan.exe [--own-main PATH/TO/program.exe]... [--layouts]
"""
import argparse
import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import vorkan_e2e as e2e  # noqa: E402  (the windowed program's checks share its helpers)

import keyboard_layouts  # noqa: E402  (the same layouts and codes as the Linux program's check)
from wine_session import WineServer  # noqa: E402


class WineProgram(e2e.Session):
    """One run of vorkan.exe under Wine. Wine draws the menu bar inside the X
    window, above the client area, as the SDL display does, so e2e's pixel
    arithmetic holds."""

    def __init__(self, wine, exe, display, *args):
        self.display = display
        self.env = wine.environment(display)
        self.workdir = tempfile.mkdtemp(prefix="vorkan-wine-")
        self.process = subprocess.Popen(["wine", exe, *args], cwd=self.workdir, env=self.env,
                                        stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        self.graphics = self.find_window("KV318 Graphics")
        self.text = self.find_window("KV318 Text")

    def find_window(self, title):
        # The prefix is private and runs one program at a time: the name suffices.
        deadline = time.monotonic() + 60
        while time.monotonic() < deadline:
            out = e2e.run("xdotool", "search", "--all", "--onlyvisible", "--name", f"^{title}$",
                          env=self.env, check=False).split()
            if out:
                return out[-1]
            if self.process.poll() is not None:
                break
            time.sleep(0.1)
        raise RuntimeError(f"window {title!r} never appeared (program status {self.process.poll()})")


def title_screen(s, f):
    f.check("graphics window title", s.title(s.graphics) == "KV318 Graphics")
    _, _, w, h = s.geometry(s.graphics)
    f.check("client 595x496 under the menu bar", (w, h) == (595, 496 + e2e.MENU_BAR), f"got {(w, h)}")
    e2e.wait_for(lambda: e2e.near(s.client_pixel(s.screenshot(), -240, 245), e2e.RED), 20)
    shot = s.screenshot()
    for name, point, colour in (("title field is red", (-240, 245), e2e.RED),
                                ("title oval is black", (-150, 0), e2e.BLACK),
                                ("title corner is black", (-296, 246), e2e.BLACK)):
        f.check(name, e2e.near(s.client_pixel(shot, *point), colour), str(s.client_pixel(shot, *point)))


def record_and_play_back(s, f):
    s.ctrl("r")
    e2e.settle()
    time.sleep(1.0)  # some ticks to record
    s.click_toolkit(10, -20)
    e2e.settle()
    s.ctrl("r")
    f.check("Ctrl+R records the click in KV318.SCR",
            e2e.wait_for(lambda: "KV318_MOUSE(10, -20);\n" in (s.script() or "")), repr(s.script()))
    f.check("and the ticks before it", "KV318_PERIODIC(" in (s.script() or ""), repr(s.script()))
    s.ctrl("h")
    e2e.settle()
    f.check("Ctrl+H halts the animation", e2e.still_picture(s))
    halted = s.screenshot()[2]
    s.ctrl("p")
    f.check("Ctrl+P plays the recorded ticks back", e2e.wait_for(lambda: s.screenshot()[2] != halted))
    f.check("and playback ends with the animation halted", e2e.still_picture(s, tries=6))


def own_main_program(s, f, name):
    f.check(f"{name}, with its own main, opens the graphics window", s.title(s.graphics) == "KV318 Graphics")
    f.check(f"{name}: its animation runs", not e2e.still_picture(s, tries=1))
    s.close_box(s.graphics)
    status = s.wait_exit()
    f.check(f"{name}: the close box ends it with status 0", status == 0, f"status {status}")


def typed_on_layouts(wine, exe, display, f):
    """German and French keyboards, typed as in the Linux program's check: the same codes, but
    Windows types α, which Windows-1252 lacks, as its look-alike a."""
    env = wine.environment(display)
    for layout in keyboard_layouts.LAYOUTS:
        keyboard_layouts.set_layout(env, layout)
        s = WineProgram(wine, exe, display)
        try:
            keyboard_layouts.check_layout(s, f, layout, outside=ord("a"))
        finally:
            s.close()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("exe")
    parser.add_argument("--own-main", action="append", default=[])
    parser.add_argument("--layouts", action="store_true")
    args = parser.parse_args()
    exe = os.path.abspath(args.exe)
    display = e2e.own_display()
    started = time.monotonic()
    f = e2e.Failures()
    with WineServer(display) as wine:
        print(f"Wine prefix ready in {wine.boot_seconds:.1f} s", flush=True)
        s = WineProgram(wine, exe, display, "--seed", "1")
        try:
            title_screen(s, f)
            e2e.click_leaves_title(s, f)
            record_and_play_back(s, f)
            e2e.ctrl_q_quits(s, f)
        finally:
            s.close()
        s = WineProgram(wine, exe, display)
        try:
            e2e.close_box_quits(s, f)
        finally:
            s.close()
        for program in args.own_main:
            s = WineProgram(wine, os.path.abspath(program), display)
            try:
                own_main_program(s, f, os.path.basename(program))
            finally:
                s.close()
        if args.layouts:
            typed_on_layouts(wine, exe, display, f)
    print(f"{f.passed} passed, {f.failed} failed in {time.monotonic() - started:.0f} s")
    return 0 if f.failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
