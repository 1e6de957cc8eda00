#!/usr/bin/env python3
"""Runs mosk-solve on one example and compares its JSON output with the
example's expected measures.

    check_example.py MOSK_SOLVE model.table model.expected TOLERANCE

A measure passes when |value - expected| <= TOLERANCE * max(1, |expected|)."""
import json
import os
import subprocess
import sys


def main():
    mosk_solve, table, expected_path, tolerance = sys.argv[1:5]
    tolerance = float(tolerance)
    env = dict(os.environ)
    env.pop("PLENARHOME", None)
    run = subprocess.run([mosk_solve, "--format", "json", "--timeout", "240", table],
                         capture_output=True, text=True, env=env)
    if run.returncode != 0:
        print(run.stderr)
        return 1
    data = json.loads(run.stdout)
    measures = data["measures"]
    failures = []
    with open(expected_path) as expected:
        for line in expected:
            if line.strip() == "*#END#*":
                break
            name, value = line.split()
            name = name[1:] if name.startswith("\\") else name
            want = float(value)
            got = measures.get(name)
            if not isinstance(got, (int, float)) or abs(got - want) > tolerance * max(1.0, abs(want)):
                failures.append("%s: expected %s, got %s" % (name, value, got))
    print(run.stdout)
    for failure in failures:
        print("MISMATCH " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
