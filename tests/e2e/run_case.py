#!/usr/bin/env python3
"""Runs the real mosk binary on one end-to-end case and checks what it did.

usage: run_case.py <mosk> <case directory> [<workers directory>]

Each run gets a fresh directory WORK holding HOME (with a .Plenar that names
this host, or the case's own), PLENARHOME (with Pendra/bin, linking the built
workers when they exist or holding the case's own programs, and
Pendra/scripts) and MODELDIR. The case directory holds data only;
tests/e2e/README.md describes its files.
"""
import difflib
import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile

PASSED_THROUGH = ("PATH", "ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS")
WORKERS = ("kiln_da", "ekiln")
GAP = "..."


def read_text(case, name):
    path = os.path.join(case, name)
    if not os.path.exists(path):
        return None
    with open(path, encoding="utf-8", newline="") as f:
        return f.read()


def substitute(text, places):
    for key, value in places.items():
        text = text.replace("{" + key + "}", value)
    return text


def make_environment(case, work, workers):
    home = os.path.join(work, "home")
    plenar = os.path.join(work, "plenar")
    models = os.path.join(work, "models")
    bindir = os.path.join(plenar, "Pendra", "bin")
    for d in (home, bindir, os.path.join(plenar, "Pendra", "scripts"), models):
        os.makedirs(d)
    places = {"WORK": work, "HOME": home, "PLENARHOME": plenar, "MODELDIR": models,
              "HOST": socket.gethostname()}
    plenar_text = read_text(case, "plenar")
    with open(os.path.join(home, ".Plenar"), "w") as f:
        if plenar_text is None:
            f.write("HOSTLISTSTART\n%s\nHOSTLISTEND\n" % socket.gethostname())
        else:
            f.write(substitute(plenar_text, places))
    for name in WORKERS:
        built = os.path.join(workers or "", name)
        if workers and os.access(built, os.X_OK):
            os.symlink(os.path.abspath(built), os.path.join(bindir, name))
    # Programs of the case (stand-in workers, say) take the place of the built ones.
    own = os.path.join(case, "bin")
    if os.path.isdir(own):
        for name in os.listdir(own):
            target = os.path.join(bindir, name)
            if os.path.lexists(target):
                os.remove(target)
            shutil.copy(os.path.join(own, name), target)
            os.chmod(target, 0o755)
    env = {k: os.environ[k] for k in PASSED_THROUGH if k in os.environ}
    env.update({"HOME": home, "PLENARHOME": plenar, "MODELDIR": models, "LC_ALL": "C"})
    return env, places


def apply_env_changes(case, env, places):
    text = read_text(case, "env")
    for line in (text or "").splitlines():
        if not line.strip():
            continue
        if line.startswith("-"):
            env.pop(line[1:], None)
        else:
            name, value = line.split("=", 1)
            env[name] = substitute(value, places)


REPEAT = re.compile(rb"\{REPEAT (\d+)\|([^}]*)\}")


def copy_model(case, env, places):
    """Copies the model files; {REPEAT n|text} in them stands for text
    written n times, so that a case can hold a long description in a few
    bytes."""
    source = os.path.join(case, "model")
    if not os.path.isdir(source):
        return
    target = env.get("MODELDIR", places["MODELDIR"])
    os.makedirs(target, exist_ok=True)
    for name in os.listdir(source):
        with open(os.path.join(source, name), "rb") as f:
            data = f.read()
        data = REPEAT.sub(lambda m: m.group(2) * int(m.group(1)), data)
        with open(os.path.join(target, name), "wb") as f:
            f.write(data)
        shutil.copymode(os.path.join(source, name), os.path.join(target, name))


def blocks_in_order(lines, expected):
    """True when each block of expected lines (blocks are separated by a
    line "...") appears as consecutive lines, the blocks in order."""
    blocks, current = [], []
    for line in expected:
        if line == GAP:
            blocks.append(current)
            current = []
        else:
            current.append(line)
    blocks.append(current)
    pos = 0
    for block in filter(None, blocks):
        while pos + len(block) <= len(lines) and lines[pos:pos + len(block)] != block:
            pos += 1
        if pos + len(block) > len(lines):
            return False, block
        pos += len(block)
    return True, None


def check_measures(case, places):
    """Results files against the measures of the case: each file holds
    exactly the measures listed after its "file" line, in that order, each
    within its relative tolerance (absolute for an expected 0), and then the
    end line."""
    text = read_text(case, "measures")
    if text is None:
        return []
    files, tolerance = [], 1e-8
    for line in text.splitlines():
        field = line.split()
        if not field or field[0].startswith("#"):
            continue
        if field[0] == "file":
            files.append((substitute(field[1], places), []))
        elif field[0] == "tolerance":
            tolerance = float(field[1])
        else:
            files[-1][1].append((field[0], float(field[1]), tolerance))
    failures = []
    for path, want in files:
        if not os.path.exists(path):
            failures.append("results file %s was not written" % path)
            continue
        with open(path, encoding="latin-1") as f:
            got = [line.split() for line in f.read().splitlines()]
        if len(got) != len(want) + 1 or got[-1] != ["*#END#*"]:
            failures.append("%s holds %d lines, expected %d measures and the end line"
                            % (path, len(got), len(want)))
            continue
        for (name, value, tolerance), fields in zip(want, got):
            if not measure_matches(fields, name, value, tolerance):
                failures.append("%s: %r, expected %s %.16g (relative tolerance %g)"
                                % (path, " ".join(fields), name, value, tolerance))
    return failures


def measure_matches(fields, name, value, tolerance):
    try:
        got = float(fields[1])
    except (IndexError, ValueError):
        return False
    return fields[0] == name and len(fields) == 2 and \
        abs(got - value) <= tolerance * (abs(value) if value != 0 else 1.0)


def check(case, work, places, result):
    failures = []
    out = result.stdout.decode("latin-1")
    want_status = int((read_text(case, "status") or "0").strip())
    if result.returncode != want_status:
        failures.append("exit status %d, expected %d" % (result.returncode, want_status))
    err = result.stderr.decode("latin-1")
    err_lines = read_text(case, "stderr-lines")
    if err_lines is None and err:
        failures.append("standard error is not empty:\n" + err)
    if err_lines is not None:
        found, block = blocks_in_order(err.split("\n"),
                                       substitute(err_lines, places).rstrip("\n").split("\n"))
        if not found:
            failures.append("stderr lacks the lines %r; stderr:\n%s" % (block, err))
    failures += check_measures(case, places)

    exact = read_text(case, "stdout")
    if exact is not None and out != substitute(exact, places):
        diff = difflib.unified_diff(substitute(exact, places).splitlines(True),
                                    out.splitlines(True), "expected", "actual")
        failures.append("stdout differs:\n" + "".join(diff))
    lines = read_text(case, "stdout-lines")
    if lines is not None:
        found, block = blocks_in_order(out.split("\n"),
                                       substitute(lines, places).rstrip("\n").split("\n"))
        if not found:
            failures.append("stdout lacks the lines %r" % block)

    for name, must_exist in (("exists", True), ("absent", False)):
        for path in (read_text(case, name) or "").splitlines():
            path = substitute(path, places)
            if path and os.path.lexists(path) != must_exist:
                failures.append("%s %s" % (path, "is missing" if must_exist else "still exists"))

    expected_files = os.path.join(case, "files")
    for root, _, names in os.walk(expected_files):
        for name in names:
            relative = os.path.relpath(os.path.join(root, name), expected_files)
            actual = os.path.join(work, relative)
            with open(os.path.join(root, name), "rb") as f:
                want = f.read()
            if not os.path.exists(actual):
                failures.append("%s was not written" % relative)
            else:
                with open(actual, "rb") as f:
                    if f.read() != want:
                        failures.append("%s differs from the expected content" % relative)

    if failures:
        failures.append("--- stdout ---\n" + out)
    return failures


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    mosk, case = os.path.abspath(sys.argv[1]), sys.argv[2]
    workers = sys.argv[3] if len(sys.argv) == 4 else None
    work = tempfile.mkdtemp(prefix="mosk-e2e-")
    try:
        env, places = make_environment(case, work, workers)
        apply_env_changes(case, env, places)
        copy_model(case, env, places)
        args = [substitute(a, places) for a in (read_text(case, "args") or "").splitlines()]
        timeout = float((read_text(case, "timeout") or "30").strip())
        try:
            result = subprocess.run([mosk] + args, cwd=work, env=env, capture_output=True,
                                    timeout=timeout)
        except subprocess.TimeoutExpired as e:
            print("mosk did not end within %g s; stdout so far:\n%s"
                  % (timeout, (e.stdout or b"").decode("latin-1")))
            return 1
        failures = check(case, work, places, result)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
