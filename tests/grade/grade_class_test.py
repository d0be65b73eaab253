#!/usr/bin/env python3
"""A small class graded through the installed package, as a teacher does it.

    grade_class_test.py BUILD_DIR CLASS_DIR [TIME_LIMIT]

The class (CLASS_DIR): a reference in C; submissions that are right in C and
in C++ (WinMain), that draw in the wrong place, log a different line, crash
after three log lines, never leave a loop and do not compile; tests with one
script that playback cannot read. Each must get its result, the reports must
agree with each other, two shards merged must equal the whole, and nothing
may be left behind.
"""
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import xml.etree.ElementTree as ElementTree

TIME_LIMIT = float(sys.argv[3]) if len(sys.argv) > 3 else 2.0  # seconds a run may take
EXPECTED = {  # submission: results of clicks, keys, typo
    "submissions/ada.c": ("pass", "pass", "bad-test"),
    "submissions/bela.cpp": ("pass", "pass", "bad-test"),
    "submissions/csilla.c": ("fail", "fail", "bad-test"),
    "submissions/dora.c": ("pass", "fail", "bad-test"),
    "submissions/edit.c": ("crash", "crash", "bad-test"),
    "submissions/franz.c": ("timeout", "timeout", "bad-test"),
    "submissions/gabor": ("build-error", "build-error", "bad-test"),
}
TESTS = ("clicks", "keys", "typo")

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAILED:", message)


def grade(grader, class_dir, *arguments):
    started = time.monotonic()
    done = subprocess.run([grader, *arguments], cwd=class_dir, capture_output=True, text=True)
    return done, time.monotonic() - started


def load(report):
    with open(os.path.join(report, "results.json"), encoding="utf-8") as results:
        return json.load(results)


def without_times(records):
    """The records without what differs between two gradings of one class: the
    times, and in a sanitizer's report of a crash its addresses and scratch folder."""
    def steady(value):
        if not isinstance(value, str):
            return value
        return re.sub(r"0x[0-9a-f]+|kv318-grade-\w{6}/", "#", value)
    return [{key: steady(value) for key, value in record.items() if key != "seconds"} for record in records]


def check_results(records):
    by_key = {(r["submission"], r["test"]): r for r in records}
    check(len(records) == len(EXPECTED) * len(TESTS), f"{len(records)} records, not {len(EXPECTED) * len(TESTS)}")
    for submission, results in EXPECTED.items():
        for test, result in zip(TESTS, results):
            record = by_key.get((submission, test), {})
            check(record.get("result") == result,
                  f"{submission} on {test}: {record.get('result')} ({record.get('reason')}), not {result}")
    check(by_key[("submissions/edit.c", "keys")]["log"] == "line 1\nline 2\nline 3\n",
          "the crash's record holds its three log lines: " + repr(by_key[("submissions/edit.c", "keys")]["log"]))
    # SIGSEGV, or AddressSanitizer's "SEGV on unknown address" in a sanitized build
    crash = by_key[("submissions/edit.c", "clicks")]["reason"]
    check("SEGV" in crash, "the crash is named: " + crash)
    for test in ("clicks", "keys"):
        loop = by_key[("submissions/franz.c", test)]
        check(loop["seconds"] <= TIME_LIMIT + 1.0, f"the loop was stopped after {loop['seconds']} s")
    typo = by_key[("submissions/ada.c", "typo")]["reason"]
    check("typo.scr:3:" in typo and "KV318_KBD('a');" in typo, "the bad script is named with its line: " + typo)
    wrong_place = by_key[("submissions/csilla.c", "clicks")]
    check("pixels of its last picture differ" in wrong_place["reason"], "the wrong place is a picture difference")
    check(wrong_place.get("pictures", {}).keys() == {"expected", "actual", "difference"}, "its pictures are given")
    other_line = by_key[("submissions/dora.c", "keys")]
    check("log differs from line 2" in other_line["reason"] and "+pressed 97" in other_line["log_diff"],
          "the other log line is shown as a diff: " + other_line.get("log_diff", ""))
    check("expected ';'" in by_key[("submissions/gabor", "keys")]["output"], "the compiler's message is kept")


def check_report_files(report, records):
    junit = ElementTree.parse(os.path.join(report, "junit.xml")).getroot()
    counts = {name: int(junit.get(name)) for name in ("tests", "failures", "errors", "skipped")}
    check(counts == {"tests": 21, "failures": 3, "errors": 6, "skipped": 7}, f"junit.xml counts {counts}")
    with open(os.path.join(report, "index.html"), encoding="utf-8") as page:
        html = page.read()
    pictures = [r["pictures"][kind] for r in records for kind in r.get("pictures", {})]
    check(pictures and all(os.path.isfile(os.path.join(report, p)) and p in html for p in pictures),
          "every picture of the records is in the report and on its page")
    check("KV318_KBD(&#x27;a&#x27;);" in html or "KV318_KBD('a');" in html, "the page names the bad line")


def check_shards_merge_to_the_whole(grader, class_dir, work, whole, common):
    shards = []
    for index in (1, 2):
        shard = os.path.join(work, f"shard{index}")
        done, _ = grade(grader, class_dir, *common, "--report", shard, "--shard", f"{index}/2", *EXPECTED)
        check(done.returncode == 1, f"shard {index} ended with {done.returncode}: {done.stderr}")
        shards.append(shard)
    parts = [{r["submission"] for r in load(shard)} for shard in shards]
    check(parts[0] and parts[1] and not parts[0] & parts[1], f"the shards split the class: {parts}")
    merged = os.path.join(work, "merged")
    done = subprocess.run([grader, "--merge", "--report", merged, *shards], capture_output=True, text=True)
    check(done.returncode == 1, f"the merge ended with {done.returncode}: {done.stderr}")
    shard_records = sorted((r for shard in shards for r in load(shard)), key=lambda r: (r["submission"], r["test"]))
    check(load(merged) == shard_records, "the merge holds every shard's records as they were")
    merged_records, whole_records = without_times(load(merged)), without_times(whole)
    differing = [(m, w) for m, w in zip(merged_records, whole_records) if m != w]
    check(len(merged_records) == len(whole_records) and not differing,
          f"the merged shards equal the whole; first difference: {differing[:1]}")
    again = subprocess.run([grader, "--merge", "--report", os.path.join(work, "twice"), shards[0], shards[0]],
                           capture_output=True, text=True)
    check(again.returncode == 2, "a shard merged twice is refused")


def check_one_submission_for_gradescope(grader, class_dir, work):
    good_tests = os.path.join(work, "good-tests")
    os.makedirs(good_tests)
    for name in ("clicks.scr", "keys.scr"):
        shutil.copy(os.path.join(class_dir, "tests", name), good_tests)
    results = os.path.join(work, "gradescope.json")
    done, _ = grade(grader, class_dir, "--reference", "reference.c", "--tests", good_tests, "--report",
                    os.path.join(work, "one"), "--gradescope", results, "submissions/bela.cpp")
    check(done.returncode == 0, f"a submission passing every test gives status 0, not {done.returncode}: {done.stderr}")
    with open(results, encoding="utf-8") as file:
        gradescope = json.load(file)
    check(gradescope["score"] == 2 and [t["status"] for t in gradescope["tests"]] == ["passed", "passed"],
          f"Gradescope's results: {gradescope}")


def check_usage_errors(grader, class_dir, work):
    littered = os.path.join(work, "not-a-report")
    os.makedirs(littered)
    open(os.path.join(littered, "notes.txt"), "w").close()
    refused = os.path.join(work, "refused")
    for arguments in (["--reference", "reference.c", "--tests", "tests", "--report", refused],
                      ["--reference", "reference.c", "--tests", "tests", "--report", littered, "submissions/ada.c"],
                      ["--reference", "reference.c", "--tests", "no-such-folder", "--report", refused,
                       "submissions/ada.c"],
                      ["--reference", "reference.c", "--tests", "tests", "--report", refused, "submissions/missing.c"]):
        done, _ = grade(grader, class_dir, *arguments)
        check(done.returncode == 2 and done.stderr.count("\n") == 1,
              f"{arguments}: status {done.returncode} and {done.stderr!r}, not 2 and one line")


def main():
    build_dir, class_dir = (os.path.abspath(p) for p in sys.argv[1:3])
    work = tempfile.mkdtemp(prefix="kv318-grade-test-")
    os.chmod(work, 0o755)  # a grader running as root runs the programs as nobody, who must pass through
    try:
        prefix = os.path.join(work, "prefix")
        subprocess.run(["cmake", "--install", build_dir, "--prefix", prefix], check=True, capture_output=True)
        grader = os.path.join(prefix, "bin", "kv318-grade")
        scratch = os.path.join(work, "tmp")
        os.makedirs(scratch)
        os.chmod(scratch, 0o755)
        os.environ["TMPDIR"] = scratch
        before = sorted(os.walk(class_dir))
        common = ["--reference", "reference.c", "--tests", "tests", "--time-limit", str(TIME_LIMIT), "--jobs", "2"]
        whole_report = os.path.join(work, "whole")
        done, seconds = grade(grader, class_dir, *common, "--report", whole_report, *EXPECTED)
        print(f"graded the class in {seconds:.1f} s")
        check(done.returncode == 1, f"the class ended with {done.returncode}, not 1: {done.stderr}")
        whole = load(whole_report)
        check_results(whole)
        check_report_files(whole_report, whole)
        check_shards_merge_to_the_whole(grader, class_dir, work, whole, common)
        check_one_submission_for_gradescope(grader, class_dir, work)
        check_usage_errors(grader, class_dir, work)
        check(os.listdir(scratch) == [], f"the grader left {os.listdir(scratch)} behind")
        check(sorted(os.walk(class_dir)) == before, "the class's folder was left as it was")
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("failures:", len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
