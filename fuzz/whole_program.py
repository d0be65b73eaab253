#!/usr/bin/env python3
"""Whole-program fuzzing of vorkan-headless.

Generates random and adversarial scripts (extreme numbers, garbage and NUL
bytes, very long and endless lines, CR LF and missing final newlines, storms
of clicks on the panel's buttons, every key code, runs of periodic events) and
plays each one through the runner with random options: --logging, a bounded
--ticks, --log, --snapshot, --text-snapshot and --frames. A case fails when
the runner's status is not 0, it writes anything to standard error (sanitizer
reports included), it uses more than its CPU time (or, blocked, its wall time), or a requested file is missing
or is not a whole, valid PNG of the expected size. A script of endless empty
lines is ended by SIGTERM, which must end the run as the close box would. Failing cases are kept
(script and command line) in the findings directory.

usage: whole_program.py RUNNER [--seconds N] [--seed N] [--findings DIR]
"""
import argparse
import os
import random
import resource
import signal
import shutil
import struct
import subprocess
import sys
import tempfile
import threading
import time
import zlib

INT_EDGES = [0, 1, -1, 127, 128, -128, 255, 256, -256, 2147483647, -2147483648, 2147483648,
             -2147483649, 4294967295, 99999999999, -99999999999, 10**30]
PANEL_X = [-275, -260, -250, -240, -226, -225, -300, -301]
PANEL_Y = [245 - 25 * i + d for i in range(9) for d in (-13, 0, 1)]
GRAPHICS_SIZE = (595, 496)
# A case may use this much CPU time (a spinning runner is killed by the system
# then); the wall-clock limit only catches a runner blocked for good, and is
# generous because a loaded machine starves a low-priority fuzzer.
CASE_CPU_SECONDS = 30
CASE_SECONDS = 600
# Endless empty lines hold playback for as long as they come, so such a run
# never ends by itself: it is ended by SIGTERM after this long, as the close
# box would end it (outputs written, status: ended by the signal).
ENDLESS_EMPTY_SECONDS = 4


def number(rng):
    if rng.random() < 0.5:
        return rng.choice(INT_EDGES)
    return rng.randint(-1000, 1000)


def garbage(rng, size):
    return bytes(rng.choice(b"\0\r\n\t -0123456789KMPV_()," + bytes([rng.randrange(256)])) for _ in range(size))


def event_line(rng):
    """One line, ended or not; mostly events the reader accepts."""
    kind = rng.random()
    if kind < 0.25:
        text = b"KV318_MOUSE(%d, %d);" % (rng.choice(PANEL_X), rng.choice(PANEL_Y))
    elif kind < 0.4:
        text = b"KV318_MOUSE(%d, %d);" % (number(rng), number(rng))
    elif kind < 0.55:
        text = b"KV318_KBD(%d);" % rng.choice([rng.randrange(256), rng.randrange(-128, 0), number(rng)])
    elif kind < 0.75:
        text = b"KV318_PERIODIC(%d);" % rng.choice([rng.randint(0, 30), number(rng)])
    elif kind < 0.82:
        text = b"KV318_" + rng.choice(b"KMP").to_bytes(1, "big") + garbage(rng, rng.randint(0, 40))
    elif kind < 0.88:
        text = garbage(rng, rng.randint(0, 80))
    elif kind < 0.93:
        text = b"KV318_P" + b"9" * rng.choice([10, 11, 12, 400, 600])
    elif kind < 0.97:
        text = b"KV318_M" + bytes([rng.choice(b"-0123456789 ")]) * rng.choice([505, 510, 511, 512, 513, 4000])
    else:
        text = b""
    return text + rng.choice([b"\n"] * 8 + [b"\r\n", b"\r", b"\n\n"])


def click_storm(rng):
    x = rng.choice(PANEL_X)
    return b"".join(b"KV318_MOUSE(%d, %d);\n" % (x, rng.choice(PANEL_Y)) for _ in range(rng.randint(5, 60)))


def key_sweep(rng):
    codes = list(range(256))
    rng.shuffle(codes)
    return b"".join(b"KV318_KBD(%d);\n" % (c if c < 128 or rng.random() < 0.5 else c - 256) for c in codes[:rng.randint(1, 256)])


def script(rng):
    """A whole script: starts the scene mostly, then a mix of pieces."""
    parts = [b"KV318_MOUSE(0, 0);\n"] if rng.random() < 0.8 else []
    for _ in range(rng.randint(1, 30)):
        piece = rng.random()
        if piece < 0.7:
            parts.append(event_line(rng))
        elif piece < 0.8:
            parts.append(click_storm(rng))
        elif piece < 0.87:
            parts.append(key_sweep(rng))
        elif piece < 0.95:
            parts.append(b"KV318_PERIODIC(%d);\n" % rng.randint(1, 400))
        else:
            parts.append(garbage(rng, rng.randint(1, 2000)))
    data = b"".join(parts)
    if rng.random() < 0.2:
        data = data.rstrip(b"\n")  # no final newline
    return data


def png_size(path):
    """(width, height) of a whole, valid 8-bit RGB PNG, or None."""
    try:
        with open(path, "rb") as f:
            data = f.read()
    except OSError:
        return None
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        return None
    pos, idat, size, ended = 8, b"", None, False
    while pos + 12 <= len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        crc = data[pos + 8 + length:pos + 12 + length]
        if len(body) != length or len(crc) != 4 or zlib.crc32(kind + body) != struct.unpack(">I", crc)[0]:
            return None
        if kind == b"IHDR":
            size = struct.unpack(">II", body[:8])
        elif kind == b"IDAT":
            idat += body
        elif kind == b"IEND":
            ended = True
            break
        pos += 12 + length
    if not ended or size is None:
        return None
    try:
        raw = zlib.decompress(idat)
    except zlib.error:
        return None
    return size if len(raw) == size[1] * (1 + 3 * size[0]) else None


def endless_feeder(pipe, head, unit):
    """Writes `head`, then a line that never ends (or endless empty lines), until the reader goes away."""
    try:
        pipe.write(head)
        chunk = unit * 65536
        while True:
            pipe.write(chunk)
    except (BrokenPipeError, OSError, ValueError):
        pass


def end_by_signal_if_running(proc):
    """Sends SIGTERM unless the run ended within ENDLESS_EMPTY_SECONDS; True when it was sent."""
    try:
        proc.wait(timeout=ENDLESS_EMPTY_SECONDS)
        return False
    except subprocess.TimeoutExpired:
        proc.send_signal(signal.SIGTERM)
        return True


def limit_cpu():
    resource.setrlimit(resource.RLIMIT_CPU, (CASE_CPU_SECONDS, CASE_CPU_SECONDS))


def run_case(runner, rng, work):
    data = script(rng)
    endless = rng.random() < 0.05
    args = [runner, "--seed", str(rng.randrange(2**32))]
    ticks = rng.choice([0, 1, 5, 40, 200, 1000])
    frames = rng.random() < 0.15
    if frames:
        ticks = min(ticks, 30)
    args += ["--ticks", str(ticks)]
    if rng.random() < 0.5:
        args.append("--logging")
    wanted_png = {}
    if rng.random() < 0.6:
        args += ["--log", os.path.join(work, "run.log")]
    if rng.random() < 0.6:
        args += ["--snapshot", os.path.join(work, "shot.png")]
        wanted_png[os.path.join(work, "shot.png")] = GRAPHICS_SIZE
    if rng.random() < 0.3:
        args += ["--text-snapshot", os.path.join(work, "text.png")]
        wanted_png[os.path.join(work, "text.png")] = None
    if frames:
        args += ["--frames", os.path.join(work, "frames")]
    script_path = os.path.join(work, "case.scr")
    with open(script_path, "wb") as f:
        f.write(data)
    args += ["--play", "/dev/stdin" if endless else script_path]

    start = time.monotonic()
    proc = subprocess.Popen(args, cwd=work, stdin=subprocess.PIPE if endless else subprocess.DEVNULL,
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, preexec_fn=limit_cpu)
    interrupted = False
    if endless:
        unit = rng.choice([b"K", b"\0", b"\n", b"\r\n"])
        threading.Thread(target=endless_feeder, args=(proc.stdin, data, unit), daemon=True).start()
    try:
        _, err = proc.communicate(timeout=CASE_SECONDS) if not endless else (None, None)
        if endless and unit in (b"\n", b"\r\n"):
            interrupted = end_by_signal_if_running(proc)
        if endless:
            proc.wait(timeout=CASE_SECONDS)
            err = proc.stderr.read()
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait()
        return args, data, "timed out after %d s" % CASE_SECONDS
    finally:
        if endless and proc.stdin:
            try:
                proc.stdin.close()
            except OSError:
                pass
    elapsed = time.monotonic() - start
    problems = []
    err = err or b""
    if proc.returncode == -signal.SIGXCPU or proc.returncode == -signal.SIGKILL:
        problems.append("used more than %d s of CPU time" % CASE_CPU_SECONDS)
    elif proc.returncode != (-signal.SIGTERM if interrupted else 0):
        problems.append("status %d" % proc.returncode)
    if err:
        problems.append("stderr: " + err.decode(errors="replace")[:2000])
    if "--log" in args and not os.path.isfile(os.path.join(work, "run.log")):
        problems.append("no log file")
    for path, size in wanted_png.items():
        got = png_size(path)
        if got is None or (size is not None and tuple(got) != size):
            problems.append("bad PNG %s (%s)" % (os.path.basename(path), got))
    if frames:
        names = sorted(os.listdir(os.path.join(work, "frames"))) if os.path.isdir(os.path.join(work, "frames")) else []
        if not names:
            problems.append("no frames")
        for name in names:
            if png_size(os.path.join(work, "frames", name)) != GRAPHICS_SIZE:
                problems.append("bad frame " + name)
                break
    return args, data, ("; ".join(problems) if problems else None), elapsed


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("runner")
    parser.add_argument("--seconds", type=float, default=60)
    parser.add_argument("--seed", type=int, default=None)
    parser.add_argument("--findings", default="fuzz-findings")
    options = parser.parse_args()
    seed = options.seed if options.seed is not None else int(time.time())
    rng = random.Random(seed)
    runner = os.path.abspath(options.runner)
    print("whole-program fuzzing of %s for %.0f s, seed %d" % (runner, options.seconds, seed), flush=True)
    deadline = time.monotonic() + options.seconds
    cases = failures = 0
    slowest = 0.0
    while time.monotonic() < deadline:
        work = tempfile.mkdtemp(prefix="vorkan-fuzz-")
        try:
            result = run_case(runner, rng, work)
            args, data, problem = result[0], result[1], result[2]
            if len(result) > 3:
                slowest = max(slowest, result[3])
            cases += 1
            if problem:
                failures += 1
                os.makedirs(options.findings, exist_ok=True)
                base = os.path.join(options.findings, "case-%d-%d" % (seed, cases))
                with open(base + ".scr", "wb") as f:
                    f.write(data)
                with open(base + ".txt", "w") as f:
                    f.write(" ".join(args) + "\n" + problem + "\n")
                print("FAILED case %d: %s\n  kept as %s.scr" % (cases, problem[:500], base), flush=True)
        finally:
            shutil.rmtree(work, ignore_errors=True)
    print("%d cases, %d failed, slowest %.2f s" % (cases, failures, slowest), flush=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
