#!/usr/bin/env python3
"""The layers' include rule, checked on the tree: nothing points up.

    check_includes.py ROOT      lists every forbidden include; status 1 if any
    check_includes.py --self-test

Each quoted include is resolved as the compiler would find it: beside the
including file first, else by its name anywhere in the layers. Then:
  - platform/ (the stand-in) includes nothing from toolkit/, app/ or hosts/;
  - toolkit/ includes its own headers and the Win32 interface only;
  - app/ includes its own headers and the toolkit's public kv318.h only;
  - hosts/ never include the application, except a scene program's main
    (hosts/*/vorkan*.cpp), which hands the seed to the scene's calendar.h.
"""
import os
import re
import subprocess
import sys
import tempfile

LAYERS = ("platform", "toolkit", "app", "hosts")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)
WIN32_INTERFACE = "platform/include/win32.h"
KV318_H = "toolkit/kv318.h"


def sources(root):
    for layer in LAYERS:
        for folder, _, files in os.walk(os.path.join(root, layer)):
            for name in files:
                if name.endswith((".c", ".cpp", ".h")):
                    yield os.path.relpath(os.path.join(folder, name), root)


def headers_by_name(files):
    found = {}
    for path in files:
        if path.endswith(".h"):
            found.setdefault(os.path.basename(path), []).append(path)
    return found


def resolve(root, including, name, by_name):
    beside = os.path.normpath(os.path.join(os.path.dirname(including), name))
    if os.path.exists(os.path.join(root, beside)):
        return [beside]
    return by_name.get(os.path.basename(name), [])


def allowed(including, header):
    layer = including.split("/")[0]
    target = header.split("/")[0]
    if layer == "platform":
        return target == "platform"
    if layer == "toolkit":
        return target == "toolkit" or header == WIN32_INTERFACE
    if layer == "app":
        return target == "app" or header == KV318_H
    if layer == "hosts" and target == "app":
        scene_main = re.fullmatch(r"hosts/[^/]+/vorkan[^/]*\.cpp", including) is not None
        return scene_main and header == "app/calendar.h"
    return True


def violations(root):
    files = list(sources(root))
    by_name = headers_by_name(files)
    found = []
    for path in files:
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as text:
            for name in INCLUDE.findall(text.read()):
                for header in resolve(root, path, name, by_name):
                    if not allowed(path, header):
                        found.append(f'{path}: #include "{name}" reaches {header}')
    return found


def self_test():
    """A tree with one forbidden include of each kind must fail with each named."""
    forbidden = {
        "platform/user/bad.cpp": '#include "kv318.h"\n',
        "toolkit/src/bad.cpp": '#include "display.h"\n',
        "app/bad.cpp": '#include "kv318_host.h"\n',
        "hosts/headless/headless_bad.cpp": '#include "calendar.h"\n',
    }
    fine = {
        "platform/core/display.h": "", "platform/include/win32.h": "", "toolkit/kv318.h": '#include "win32.h"\n',
        "toolkit/kv318_host.h": '#include "kv318.h"\n', "app/calendar.h": "",
        "hosts/headless/vorkan_headless.cpp": '#include "calendar.h"\n',
    }
    with tempfile.TemporaryDirectory() as root:
        for path, text in {**forbidden, **fine}.items():
            os.makedirs(os.path.join(root, os.path.dirname(path)), exist_ok=True)
            with open(os.path.join(root, path), "w") as out:
                out.write(text)
        run = subprocess.run([sys.executable, __file__, root], capture_output=True, text=True)
    missed = [path for path in forbidden if path not in run.stdout]
    if run.returncode != 1 or missed or len(run.stdout.splitlines()) != len(forbidden):
        print(f"the check did not catch every forbidden include (status {run.returncode}):\n{run.stdout}")
        return 1
    print(f"the check catches all {len(forbidden)} forbidden includes")
    return 0


def main(argv):
    if argv[1:] == ["--self-test"]:
        return self_test()
    found = violations(argv[1])
    for line in found:
        print(line)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
