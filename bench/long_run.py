#!/usr/bin/env python3
"""Long runs of vorkan-headless: wall time and peak resident memory.

Enters the scene and runs 10^4, 10^5 and 10^6 ticks, with drawing-call logging
off and on, one process per run. CPU time is given beside the wall time, which
a busy machine stretches. Memory is flat when the peak resident size
of the longest run is that of the shortest.

usage: long_run.py [RUNNER] [--ticks N ...]
"""
import argparse
import os
import subprocess
import sys
import tempfile
import time


def run(runner, ticks, logging, work):
    script = os.path.join(work, "scene.scr")
    with open(script, "w") as f:
        f.write("KV318_MOUSE(0, 0);\nKV318_PERIODIC(%d);\n" % ticks)
    args = [runner, "--seed", "1", "--ticks", str(ticks), "--play", script]
    if logging:
        args.append("--logging")
    start = time.monotonic()
    proc = subprocess.Popen(args, stdout=subprocess.DEVNULL)
    _, status, usage = os.wait4(proc.pid, 0)
    seconds = time.monotonic() - start
    proc.returncode = os.waitstatus_to_exitcode(status)
    if proc.returncode != 0:
        sys.exit("%s ended with status %d" % (" ".join(args), proc.returncode))
    return seconds, usage.ru_utime + usage.ru_stime, usage.ru_maxrss  # kilobytes on Linux


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("runner", nargs="?",
                        default=os.path.join(here, "..", "build-release", "runner", "vorkan-headless"))
    parser.add_argument("--ticks", type=int, nargs="+", default=[10**4, 10**5, 10**6])
    options = parser.parse_args()
    print("%-8s %10s %10s %10s %16s %12s" % ("logging", "ticks", "wall s", "CPU s", "CPU us per tick",
                                             "peak RSS MB"))
    with tempfile.TemporaryDirectory() as work:
        for logging in (False, True):
            for ticks in options.ticks:
                seconds, cpu, rss_kb = run(options.runner, ticks, logging, work)
                print("%-8s %10d %10.2f %10.2f %16.1f %12.1f" % ("on" if logging else "off", ticks, seconds, cpu,
                                                                 cpu * 1e6 / ticks, rss_kb / 1024), flush=True)


if __name__ == "__main__":
    main()
