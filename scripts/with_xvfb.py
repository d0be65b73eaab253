"""Python scripts' way onto a virtual X display of their own: scripts/with-xvfb.sh.

A script calls run_under_xvfb() first thing in main(); unless it already runs
under the helper, it is started again under it with the same arguments (the
process is replaced, so the helper's exit status is the script's)."""
import os
import sys

HELPER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "with-xvfb.sh")


def under_xvfb():
    """True when this process runs on the display the helper started."""
    display = os.environ.get("DISPLAY")
    return display is not None and display == os.environ.get("VORKAN_XVFB_DISPLAY")


def run_under_xvfb(size=None):
    if under_xvfb():
        return
    script = os.path.abspath(sys.argv[0])
    # Started again already, yet still not on the helper's display: stop rather than start it once more.
    if os.environ.get("VORKAN_XVFB_RERUN") == script:
        raise RuntimeError(f"{HELPER} gave {script} no display of its own")
    os.environ["VORKAN_XVFB_RERUN"] = script
    size_option = ["--size", size] if size else []
    sys.stdout.flush()
    sys.stderr.flush()
    os.execv(HELPER, [HELPER, *size_option, sys.executable, script, *sys.argv[1:]])
