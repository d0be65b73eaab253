#!/usr/bin/python3
"""vorkan held by its Run menu, and ended from outside, under a virtual X display.

- The open Run menu holds the program while recording: no periodic event is
  recorded while it is open, the picture holds, and Ctrl+H typed into it does
  not halt the animation.
- A Ctrl released in another program's window is not held when the graphics
  window gets the focus back: a plain r neither records over the script nor
  does a plain q quit.
- A killed recording keeps every line: SIGTERM (and SIGINT, SIGHUP) end the
  program as its close box would, with the pending count written; SIGKILL
  keeps every whole line.
- A FIFO as the script file does not freeze the program at Ctrl+P.

Usage: held_and_ended.py PATH/TO/vorkan
"""
import os
import re
import signal
import subprocess
import sys
import time

import vorkan_e2e as e2e

OLD_SCRIPT = "".join(f"KV318_KBD({100 + i});\n" for i in range(50))


def periodic_count(script):
    return sum(int(n) for n in re.findall(r"KV318_PERIODIC\((\d+)\);", script or ""))


def record_for(s, seconds, during=None):
    """Records the running title screen for `seconds` (running `during` halfway); the periodic events recorded."""
    s.ctrl("r")
    time.sleep(seconds / 2)
    if during:
        during()
    time.sleep(seconds / 2)
    s.ctrl("r")
    e2e.wait_for(lambda: periodic_count(s.script()) > 0, 5)
    return periodic_count(s.script())


def menu_holds_the_program(s, f):
    e2e.wait_for(lambda: e2e.near(s.client_pixel(s.screenshot(), -240, 245), e2e.RED))
    plain = record_for(s, 1.0)
    held = {}

    def hold_menu_open():
        e2e.run("xdotool", "windowfocus", "--sync", s.graphics, "key", "alt+r", env=s.env)
        time.sleep(0.3)
        first = s.screenshot()[2]
        e2e.run("xdotool", "keydown", "ctrl", "key", "h", "keyup", "ctrl", env=s.env)
        time.sleep(2.0)
        held["still"] = s.screenshot()[2] == first
        e2e.run("xdotool", "key", "Escape", "Escape", env=s.env)

    with_menu = record_for(s, 1.0, hold_menu_open)
    f.check("the picture holds while the menu is open", held["still"])
    # Without the menu's hold the 2 s would add about twice the plain count.
    f.check("no periodic events are recorded while the menu is open", with_menu <= 1.5 * plain + 2,
            f"{with_menu} with the menu open 2 s, {plain} in the same time without")
    before = s.screenshot()[2]
    f.check("Ctrl+H typed into the menu did not halt the animation",
            e2e.wait_for(lambda: s.screenshot()[2] != before, 3))


def ctrl_released_elsewhere(s, f):
    with open(os.path.join(s.workdir, "KV318.SCR"), "w") as script:
        script.write(OLD_SCRIPT)
    other = subprocess.Popen(["xmessage", "-geometry", "+700+0", "another program"], env=s.env,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        other_window = e2e.run("timeout", "10", "xdotool", "search", "--sync", "--class", "Xmessage", env=s.env).split()[0]
        e2e.run("xdotool", "windowfocus", "--sync", s.graphics, "keydown", "ctrl", env=s.env)
        e2e.settle()
        e2e.run("xdotool", "windowfocus", "--sync", other_window, env=s.env)
        e2e.settle()
        e2e.run("xdotool", "keyup", "ctrl", env=s.env)
        e2e.settle()
        e2e.run("xdotool", "windowfocus", "--sync", s.graphics, env=s.env)
        e2e.settle()
        e2e.run("xdotool", "key", "r", "q", env=s.env)
        e2e.settle()
    finally:
        other.kill()
        other.wait()
    f.check("a plain r after Ctrl was released elsewhere does not record", s.script() == OLD_SCRIPT)
    f.check("a plain q after Ctrl was released elsewhere does not quit", s.process.poll() is None)


def killed_recording(s, f, how, clicks):
    s.ctrl("r")
    e2e.settle()
    for i in range(clicks):
        s.click_toolkit(-100 + i, 0)
        time.sleep(0.05)
    e2e.settle()
    s.process.send_signal(how)
    status = s.wait_exit()
    name = signal.Signals(how).name
    f.check(f"{name} ends the program by the signal", status == -how, f"status {status}")
    text = s.script() or ""
    lines = text.splitlines(keepends=True)
    f.check(f"after {name} the script keeps every click, as whole lines",
            sum(line.startswith("KV318_MOUSE(") for line in lines) == clicks and text.endswith("\n"),
            repr(text[-200:]))
    if how != signal.SIGKILL:
        f.check(f"after {name} the script ends with the pending periodic count",
                lines[-1].startswith("KV318_PERIODIC("), repr(lines[-1:]))


def fifo_script(s, f):
    os.mkfifo(os.path.join(s.workdir, "KV318.SCR"))
    s.ctrl("p")
    e2e.settle()
    s.ctrl("q")
    f.check("Ctrl+P on a FIFO leaves the program answering: Ctrl+Q ends it", s.wait_exit(10) == 0)


def main():
    display = e2e.own_display()
    program = os.path.abspath(sys.argv[1])
    f = e2e.Failures()
    sessions = [lambda s: (menu_holds_the_program(s, f), ctrl_released_elsewhere(s, f), e2e.ctrl_q_quits(s, f))]
    sessions += [lambda s, how=how: killed_recording(s, f, how, 20) for how in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP)]
    sessions += [lambda s: killed_recording(s, f, signal.SIGKILL, 100), lambda s: fifo_script(s, f)]
    for session in sessions:
        s = e2e.Session(program, display)
        try:
            session(s)
        finally:
            s.close()
    print(f"{f.passed} passed, {f.failed} failed")
    return 0 if f.failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
