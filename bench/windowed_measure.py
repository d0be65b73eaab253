#!/usr/bin/python3
"""Measures the windowed program on an X display of its own (scripts/with-xvfb.sh):
exec to first presented frame, CPU share at full animation and while halted,
resident memory.

Usage: bench/windowed_measure.py PATH/TO/vorkan [seconds per CPU phase, default 20]
"""
import os
import select
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "scripts"))
import with_xvfb  # noqa: E402

TICKS_PER_SECOND = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    fields = open(f"/proc/{pid}/stat").read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS_PER_SECOND  # utime + stime


def resident_kib(pid):
    for line in open(f"/proc/{pid}/status"):
        if line.startswith("VmRSS:"):
            return int(line.split()[1])
    return 0


def stop(process):
    if process.poll() is None:
        process.kill()
    process.wait()


def first_line(stream, seconds):
    """The stream's first line, or "" when none comes within SECONDS."""
    ready, _, _ = select.select([stream], [], [], seconds)
    return stream.readline() if ready else ""


def first_frame_times(program, env, shim, runs=10):
    """Wall-clock milliseconds from exec to the first presented frame, and the CPU milliseconds spent by then."""
    times, cpu = [], []
    for _ in range(runs):
        started = time.clock_gettime_ns(time.CLOCK_MONOTONIC)
        process = subprocess.Popen([program], env=dict(env, LD_PRELOAD=shim), stderr=subprocess.PIPE, text=True)
        line = first_line(process.stderr, 10)
        stop(process)
        if line.startswith("FIRST_FRAME"):
            fields = line.split()
            times.append((int(fields[1]) - started) / 1e6)
            cpu.append(int(fields[2]) / 1e6)
        time.sleep(0.3)
    return times, cpu


def cpu_share(pid, seconds):
    before = cpu_seconds(pid)
    time.sleep(seconds)
    return 100.0 * (cpu_seconds(pid) - before) / seconds


def main():
    with_xvfb.run_under_xvfb()
    program = os.path.abspath(sys.argv[1])
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 20.0
    env = dict(os.environ)
    work = tempfile.mkdtemp(prefix="vorkan-measure-")
    try:
        shim = os.path.join(work, "first_frame_shim.so")
        subprocess.run(["cc", "-shared", "-fPIC", "-O2", "-o", shim, os.path.join(HERE, "first_frame_shim.c"), "-ldl"],
                       check=True)
        times, cpu = first_frame_times(program, env, shim)
        if times:
            print(f"exec to first presented frame: median {statistics.median(times):.1f} ms "
                  f"(min {min(times):.1f}, max {max(times):.1f}, {len(times)} runs); CPU by then: median "
                  f"{statistics.median(cpu):.1f} ms (min {min(cpu):.1f}, max {max(cpu):.1f})")

        process = subprocess.Popen([program], cwd=work, env=env)
        try:
            measure_running(process, env, seconds)
        finally:
            stop(process)
    finally:
        subprocess.run(["rm", "-rf", work])


def find_window(env, seconds=10):
    """The graphics window's id once it is mapped; exits if it never is."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^KV318 Graphics$"], env=env,
                               capture_output=True, text=True).stdout.split()
        if found:
            return found[0]
        time.sleep(0.2)
    sys.exit("the graphics window did not appear")


def measure_running(process, env, seconds):
    window = find_window(env)
    time.sleep(0.5)
    subprocess.run(["xdotool", "mousemove", "--window", window, "400", "300", "click", "1"], env=env)
    time.sleep(0.5)
    rss_start = resident_kib(process.pid)
    running = cpu_share(process.pid, seconds)
    rss_running = resident_kib(process.pid)
    subprocess.run(["xdotool", "windowfocus", "--sync", window, "keydown", "ctrl", "key", "h", "keyup", "ctrl"],
                   env=env)
    time.sleep(0.5)
    halted = cpu_share(process.pid, seconds)
    print(f"CPU at full animation (scene): {running:.2f} % of one core over {seconds:.0f} s")
    print(f"CPU while halted: {halted:.2f} % of one core over {seconds:.0f} s")
    print(f"resident memory: {rss_start} KiB after entering the scene, {rss_running} KiB "
          f"after {seconds:.0f} s of animation")


if __name__ == "__main__":
    main()
