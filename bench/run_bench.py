#!/usr/bin/env python3
"""Runs the real mosk binary on the scalable nets of bench/models and prints
one table: state counts, generation speed, memory, solver figures, times.

usage: run_bench.py --mosk PATH [--max-size N] [--runs R] [--models a,b]
                    [--sizes name=1,2,3 ...] [--solver i|a] [--keep DIR] [--strict]

Each run gets a fresh directory holding HOME (with a .Plenar naming this
host), PLENARHOME (Pendra/bin with the workers, Pendra/scripts) and MODELDIR
with the description and the delays files of one pass. mosk runs with -v on a
pseudo terminal so that its progress lines arrive as they are written; the
phases are timed by those lines (wall clock, and the child's CPU time read
from /proc as each line arrives), the peak resident memory and total CPU time
from the child's resource usage, the edges from the embedded chain's files.
Exits non-zero when a tangible marking count differs from the known one
(with --strict also when a run ends with a non-zero status).
"""
import argparse
import os
import pty
import re
import select
import shutil
import socket
import statistics
import struct
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from models import MODELS  # noqa: E402

WORKERS = ("kiln_da", "ekiln")
PHASES = (  # (phase, line that starts it)
    ("parse", "parsing transition table ..."),
    ("generate", "checking classes finished !"),
    ("examine", "examining rrg ..."),
    ("solve", "examining rrg finished!"),
)


# Further lines of every run's .Plenar (--plenar).
PLENAR_LINES = []


def make_environment(work, mosk):
    home, plenar, models = (os.path.join(work, d) for d in ("home", "plenar", "models"))
    bindir = os.path.join(plenar, "Pendra", "bin")
    for d in (home, bindir, os.path.join(plenar, "Pendra", "scripts"), models):
        os.makedirs(d)
    with open(os.path.join(home, ".Plenar"), "w") as f:
        f.write("HOSTLISTSTART\n%s\nHOSTLISTEND\n" % socket.gethostname())
        f.write("".join(line + "\n" for line in PLENAR_LINES))
    workers = os.path.join(os.path.dirname(os.path.dirname(mosk)), "workers")
    for name in WORKERS:
        built = os.path.join(workers, name)
        if os.access(built, os.X_OK):
            os.symlink(built, os.path.join(bindir, name))
    env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "LC_ALL": "C",
           "HOME": home, "PLENARHOME": plenar, "MODELDIR": models}
    return env, models


def cpu_seconds(pid):
    """User and system time of a running process so far, 0 when it is gone."""
    try:
        with open("/proc/%d/stat" % pid) as f:
            fields = f.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")
    except (OSError, IndexError, ValueError):
        return 0.0


def run_on_pty(argv, env, cwd):
    """Runs argv with its standard output on a pseudo terminal; returns the
    output lines with their arrival times (wall, CPU of the child so far), the
    exit status and rusage."""
    master, slave = pty.openpty()
    start = time.monotonic()
    pid = os.fork()
    if pid == 0:
        os.chdir(cwd)
        os.dup2(slave, 1)
        os.dup2(slave, 2)
        os.close(master)
        os.execve(argv[0], argv, env)
    os.close(slave)
    lines, pending = [], b""
    while True:
        ready, _, _ = select.select([master], [], [], 1.0)
        if not ready:
            continue
        try:
            data = os.read(master, 65536)
        except OSError:  # the child closed the terminal
            data = b""
        if not data:
            break
        now = (time.monotonic() - start, cpu_seconds(pid))
        pending += data
        *complete, pending = pending.split(b"\n")
        lines += [(now, line.decode("latin-1").rstrip("\r")) for line in complete]
    if pending:
        lines.append(((time.monotonic() - start, cpu_seconds(pid)), pending.decode("latin-1")))
    _, status, usage = os.wait4(pid, 0)
    os.close(master)
    return lines, time.monotonic() - start, os.waitstatus_to_exitcode(status), usage


def chain_edges(models, name):
    """Entries of the embedded chain's files (.EMC00, .EMC01, ...): rows of
    (state, count) followed by count (double, state) entries."""
    total, found = 0, False
    for k in range(100):
        path = os.path.join(models, "%s.EMC%02u" % (name, k))
        if not os.path.exists(path):
            if k == 0:
                continue
            break
        found = True
        with open(path, "rb") as f:
            data = f.read()
        pos = 0
        while pos + 8 <= len(data):
            _, count = struct.unpack_from("=ii", data, pos)
            total += count
            pos += 8 + 12 * count
    return total if found else None


def tangible_from_aux(models, name):
    path = os.path.join(models, name + ".AUX")
    if not os.path.exists(path):
        return None
    with open(path) as f:
        for line in f:
            if line.startswith("TANGIBLE MARKINGS"):
                return int(line[17:].split()[0])
    return None


def parse_output(lines):
    fig = {"markings": None, "mode": "-", "iterations": None, "accuracy": None, "fill": None}
    marks = {}
    for t, line in lines:
        for phase, text in PHASES:
            if phase not in marks and line.strip() == text.strip():
                marks[phase] = t
        m = re.search(r"rrg size  \(markings\)\s*: (\d+)", line)
        if m:
            fig["markings"] = int(m.group(1))
        if "sparse Gaussian-Elimination" in line:
            fig["mode"] = "direct"
        if "iterative refinement" in line:
            fig["mode"] = "direct+sor"
        m = re.search(r"convergence in (\d+) iterations with accuracy (\S+)", line)
        if m:
            fig["iterations"], fig["accuracy"] = int(m.group(1)), float(m.group(2).rstrip("."))
            if fig["mode"] == "-":
                fig["mode"] = "sor"
        m = re.search(r"no convergence within (\d+) iterations", line)
        if m:
            fig["iterations"] = int(m.group(1))
            fig["mode"] = "sor (no conv.)"
        m = re.search(r"number of off-diagonal elements of U: (\d+)", line)
        if m:
            fig["fill"] = int(m.group(1))
        m = re.search(r"achieved accuracy: ?(\S+)", line)
        if m:
            fig["accuracy"] = float(m.group(1))
    return fig, marks


def run_one(mosk, model, size, epsilon, maxiter, solve_mode, keep):
    generator = MODELS[model][0]
    work = tempfile.mkdtemp(prefix="mosk-bench.")
    try:
        env, models = make_environment(work, mosk)
        name = "%s%d" % (model, size)
        with open(os.path.join(models, name + ".table"), "w") as f:
            f.write(generator(size))
        with open(os.path.join(models, name + ".BSdelays0"), "w") as f:
            f.write("0\n*#END#*\n")
        with open(os.path.join(models, name + ".BSdelays1"), "w") as f:
            f.write("EXIT\n*#END#*\n")
        argv = [mosk, "-v", "-s", "-N", os.path.join(models, name), "-S", "BS",
                "-E", str(epsilon), "-M", str(maxiter)]
        if solve_mode == "i":
            argv.insert(2, "-I")
        lines, wall, status, usage = run_on_pty(argv, env, work)
        fig, marks = parse_output(lines)
        end = (wall, usage.ru_utime + usage.ru_stime)
        times, cpu_times = {}, {}
        order = [p for p, _ in PHASES]
        for i, phase in enumerate(order):
            if phase not in marks:
                continue
            later = [marks[p] for p in order[i + 1:] if p in marks]
            until = later[0] if later else end
            times[phase] = until[0] - marks[phase][0]
            cpu_times[phase] = until[1] - marks[phase][1]
        aux = tangible_from_aux(models, name)
        fig.update({
            "status": status, "wall": wall, "cpu": usage.ru_utime + usage.ru_stime,
            "peak_kb": usage.ru_maxrss, "times": times, "cpu_times": cpu_times,
            "edges": chain_edges(models, name),
            "tangible": aux if aux is not None else fig["markings"],
            "results": os.path.exists(os.path.join(models, name + ".BSresults0")),
            "tail": [line for _, line in lines[-15:]],
        })
        if keep:
            shutil.copytree(work, os.path.join(keep, name), dirs_exist_ok=True)
        return fig
    finally:
        shutil.rmtree(work, ignore_errors=True)


def median(values):
    values = [v for v in values if v is not None]
    return statistics.median(values) if values else None


def fmt(value, pattern, none="-"):
    return none if value is None else format(value, pattern)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--mosk", required=True)
    ap.add_argument("--max-size", type=int, default=4,
                    help="size level: kanban and fms up to N, the large rings and stations from 5")
    ap.add_argument("--runs", type=int, default=1)
    ap.add_argument("--models", default=",".join(MODELS))
    ap.add_argument("--sizes", action="append", default=[], help="name=1,2,3")
    ap.add_argument("--epsilon", default="1e-8")
    ap.add_argument("--maxiter", default="100000")
    ap.add_argument("--solver", choices=("a", "i"), default="i")
    ap.add_argument("--keep", help="copy each run's directory here")
    ap.add_argument("--strict", action="store_true",
                    help="a run that ends with a non-zero status fails the benchmark too")
    ap.add_argument("--plenar", action="append", default=[],
                    help="a further line of .Plenar, e.g. 'UNBOUNDED PLACES WARN'")
    args = ap.parse_args()
    PLENAR_LINES.extend(args.plenar)
    mosk = os.path.abspath(args.mosk)
    chosen = {}
    for name in args.models.split(","):
        levels = MODELS[name][2]
        chosen[name] = [s for s in sorted(levels) if levels[s] <= args.max_size]
    for setting in args.sizes:
        name, sizes = setting.split("=")
        chosen[name] = [int(s) for s in sizes.split(",")]

    head = ("model", "size", "tangible", "edges", "gen s", "gen CPU", "marks/s", "peak MB",
            "B/mark", "solver", "iter", "solve s", "accuracy", "total s", "CPU s", "check")
    widths = (8, 4, 10, 10, 7, 7, 9, 8, 7, 12, 6, 8, 9, 8, 7, 6)
    row_format = " ".join("%%%ds" % w if i > 1 else "%%-%ds" % w for i, w in enumerate(widths))
    print("mosk benchmark, %d run(s) each, medians; epsilon %s, solver -%s" %
          (args.runs, args.epsilon, args.solver))
    print(row_format % head)
    failures = 0
    for name, sizes in chosen.items():
        count = MODELS[name][1]
        for size in sizes:
            runs = [run_one(mosk, name, size, args.epsilon, args.maxiter, args.solver, args.keep)
                    for _ in range(args.runs)]
            last = runs[-1]
            tangible = last["tangible"]
            expected = count(size)
            counted = expected is None or tangible == expected
            ran = all(r["status"] == 0 for r in runs)
            ok = counted and ran
            if not counted or (args.strict and not ran):
                failures += 1
            gen = median([r["times"].get("generate") for r in runs])
            gen_cpu = median([r["cpu_times"].get("generate") for r in runs])
            peak = median([r["peak_kb"] for r in runs])
            solve = median([r["times"].get("solve") for r in runs]) if last["results"] else None
            print(row_format % (
                name, size, fmt(tangible, "d"), fmt(last["edges"], "d"), fmt(gen, ".2f"),
                fmt(gen_cpu, ".2f"), fmt(tangible / gen_cpu if gen_cpu and tangible else None, ".0f"),
                fmt(peak / 1024 if peak else None, ".0f"),
                fmt(peak * 1024 / tangible if peak and tangible else None, ".0f"),
                last["mode"], fmt(last["iterations"], "d"), fmt(solve, ".2f"),
                fmt(last["accuracy"], ".1e"), fmt(median([r["wall"] for r in runs]), ".2f"),
                fmt(median([r["cpu"] for r in runs]), ".2f"),
                "ok" if ok else ("WRONG" if not counted else "FAIL%d" % last["status"])))
            sys.stdout.flush()
            if last["fill"]:
                print("    elimination: %d off-diagonal entries of U (%.1f per row)" %
                      (last["fill"], last["fill"] / tangible))
            if not ok:
                print("    expected %s tangible markings, status %s; last lines:" %
                      (expected, [r["status"] for r in runs]))
                for line in last["tail"]:
                    print("    | " + line)
    if failures:
        print("%d benchmark size(s) failed" % failures)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
