#!/usr/bin/env python3
"""Long runs of vorkan-headless: wall time and resident memory.

Enters the scene and runs 10^4, 10^5 and 10^6 ticks, with drawing-call logging
off and on, one process per run. CPU time is given beside the wall time, which
a busy machine stretches. The resident size is sampled twice a second: the
first and last samples are the run's start and end, beside its peak. Memory is
flat when the last sample is the first and the longest run's peak is that of
the shortest.

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
    samples = []
    while True:
        pid, status, usage = os.wait4(proc.pid, os.WNOHANG)
        if pid:
            break
        time.sleep(0.5)
        samples.append(resident_kib(proc.pid))
    seconds = time.monotonic() - start
    proc.returncode = os.waitstatus_to_exitcode(status)
    if proc.returncode != 0:
        sys.exit("%s ended with status %d" % (" ".join(args), proc.returncode))
    samples = [kib for kib in samples if kib] or [0]
    # ru_maxrss is in kilobytes on Linux.
    return seconds, usage.ru_utime + usage.ru_stime, usage.ru_maxrss, samples[0], samples[-1]


def resident_kib(pid):
    """The process's resident size now; 0 once it has ended."""
    try:
        with open("/proc/%d/status" % pid) as status:
            for line in status:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
    except OSError:
        pass
    return 0


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("runner", nargs="?",
                        default=os.path.join(here, "..", "build-release", "runner", "vorkan-headless"))
    parser.add_argument("--ticks", type=int, nargs="+", default=[10**4, 10**5, 10**6])
    options = parser.parse_args()
    print("%-8s %10s %10s %10s %16s %12s %12s %12s" % ("logging", "ticks", "wall s", "CPU s", "CPU us per tick",
                                                       "peak RSS MB", "first RSS MB", "last RSS MB"))
    with tempfile.TemporaryDirectory() as work:
        for logging in (False, True):
            for ticks in options.ticks:
                seconds, cpu, peak, first, last = run(options.runner, ticks, logging, work)
                print("%-8s %10d %10.2f %10.2f %16.1f %12.1f %12.1f %12.1f" % (
                    "on" if logging else "off", ticks, seconds, cpu, cpu * 1e6 / ticks, peak / 1024, first / 1024,
                    last / 1024), flush=True)


if __name__ == "__main__":
    main()
