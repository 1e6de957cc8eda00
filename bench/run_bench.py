#!/usr/bin/env python3
"""Runs the real mosk binary on the scalable nets of bench/models and prints
one table: state counts, generation speed, memory, solver figures, times.

usage: run_bench.py --mosk PATH [--max-size N] [--runs R] [--models a,b]
                    [--sizes name=1,2,3 ...] [--solver i|a] [--keep DIR] [--strict]
                    [--generation-only]

Each run gets a fresh directory holding HOME (with a .Plenar naming this
host), PLENARHOME (Pendra/bin with the workers, Pendra/scripts) and MODELDIR
with the description and the delays files of one pass. mosk runs with -v on a
pseudo terminal so that its progress lines arrive as they are written; the
phases are timed by those lines (wall clock, and the child's CPU time read
from /proc as each line arrives), the peak resident memory and total CPU time
from the child's resource usage, the generation's peak (gen MB) from /proc
when the examination starts, the edges from the embedded chain's files.
Exits non-zero when a tangible marking count differs from the known one
(with --strict also when a run ends with a non-zero status).

--solver s (the default) runs mosk as mosk-solve does by default: the
automatic mode with the .Plenar lines of SOLVER_LINES and epsilon 1e-9;
i and a are mosk's own relaxation and elimination-first modes. Every run's
measures are compared with the reference of its model and size in
bench/references (real err: the largest relative error of any measure)
beside the error the solver estimated for the measures (est err) and its
bound of the worst probability's relative error (prob est). --make-references writes
the missing references: Gauss-Seidel stopped at an estimated error of 1e-13,
accepted only when BiCGSTAB to the same estimate agrees to 1e-12.

Sizes from GENERATION_ONLY of bench/models on (and every size with
--generation-only) measure the generation alone: the run is stopped once the
examination has written the chain files and the dimension file (whose
tangible count is checked), before anything is solved; the solver column says
"gen only", and the total times are those up to the stop.
"""
import argparse
import os
import pty
import re
import select
import shutil
import signal
import socket
import statistics
import struct
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from models import MODELS, GENERATION_ONLY  # noqa: E402

WORKERS = ("kiln_da", "ekiln")
REFERENCES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "references")
# The solver lines mosk-solve writes into the .Plenar it gives mosk.
SOLVER_LINES = "ITERATION SOR AUTO\nSTOP TEST ERROR\nDIRECT WORK 1e8\n"
REFERENCE_RUNS = ("ITERATION GAUSS-SEIDEL\nSTOP TEST ERROR\n",
                  "ITERATION BICGSTAB\nSTOP TEST ERROR\n")
PHASES = (  # (phase, line that starts it)
    ("parse", "parsing transition table ..."),
    ("generate", "checking classes finished !"),
    ("examine", "examining rrg ..."),
    ("solve", "examining rrg finished!"),
)
# The line after which a generation-only run is stopped: the examination has
# written the dimension file (with the tangible count) and nothing has been
# solved yet.
CHAIN_FILES_WRITTEN = "writing CONV00-, EMC00- and AUX-files finished !"


# Further lines of every run's .Plenar (--plenar).
PLENAR_LINES = []


def make_environment(work, mosk, plenar_lines="", workers=True, workers_dir=None):
    """The run directory's HOME, PLENARHOME and MODELDIR; the workers are
    linked from workers_dir, by default from the build tree of mosk."""
    home, plenar, models = (os.path.join(work, d) for d in ("home", "plenar", "models"))
    bindir = os.path.join(plenar, "Pendra", "bin")
    for d in (home, bindir, os.path.join(plenar, "Pendra", "scripts"), models):
        os.makedirs(d)
    with open(os.path.join(home, ".Plenar"), "w") as f:
        f.write("HOSTLISTSTART\n%s\nHOSTLISTEND\n%s" % (socket.gethostname(), plenar_lines))
        f.write("".join(line + "\n" for line in PLENAR_LINES))
    workers_dir = workers_dir or os.path.join(os.path.dirname(os.path.dirname(mosk)), "workers")
    for name in WORKERS if workers else ():
        built = os.path.join(workers_dir, name)
        if os.access(built, os.X_OK):
            os.symlink(built, os.path.join(bindir, name))
    env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "LC_ALL": "C",
           "HOME": home, "PLENARHOME": plenar, "MODELDIR": models}
    return env, models


def cpu_seconds(pid):
    """User and system time of a running process so far, with that of the
    children it has waited for (the generation's helper process once the
    generation ends), 0 when it is gone."""
    try:
        with open("/proc/%d/stat" % pid) as f:
            fields = f.read().rsplit(")", 1)[1].split()
        return sum(int(x) for x in fields[11:15]) / os.sysconf("SC_CLK_TCK")
    except (OSError, IndexError, ValueError):
        return 0.0


def peak_kb(pid):
    """The peak resident memory of a running process so far, None when it is gone."""
    try:
        with open("/proc/%d/status" % pid) as f:
            for line in f:
                if line.startswith("VmHWM:"):
                    return int(line.split()[1])
    except (OSError, ValueError):
        pass
    return None


def run_on_pty(argv, env, cwd, stop_after=None):
    """Runs argv with its standard output on a pseudo terminal; returns the
    output lines with their arrival times (wall, CPU of the child so far, its
    peak memory so far), the exit status (0 when the child was stopped, as
    asked, after the line stop_after) and rusage."""
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
    lines, pending, stopped = [], b"", False
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
        now = (time.monotonic() - start, cpu_seconds(pid), peak_kb(pid))
        pending += data
        *complete, pending = pending.split(b"\n")
        lines += [(now, line.decode("latin-1").rstrip("\r")) for line in complete]
        if stop_after and not stopped and any(line.decode("latin-1").strip() == stop_after
                                              for line in complete):
            os.kill(pid, signal.SIGKILL)
            stopped = True
    if pending:
        lines.append(((time.monotonic() - start, cpu_seconds(pid), None),
                      pending.decode("latin-1")))
    _, status, usage = os.wait4(pid, 0)
    os.close(master)
    code = 0 if stopped else os.waitstatus_to_exitcode(status)
    return lines, time.monotonic() - start, code, usage


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
    fig = {"markings": None, "mode": "-", "iterations": None, "accuracy": None, "fill": None,
           "estimate": None, "measures_estimate": None, "measure_estimates": {}}
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
        m = re.search(r"estimated relative error: (\S+)", line)
        if m:
            fig["estimate"] = float(m.group(1))
        m = re.search(r"estimated error of (\S+): \S+ absolute, (\S+) relative", line)
        if m:
            fig["measure_estimates"][m.group(1)] = float(m.group(2))
        m = re.search(r"estimated relative error of the measures: (\S+)", line)
        if m:
            fig["measures_estimate"] = float(m.group(1))
        m = re.search(r"iteration: ([A-Z0-9. -]+), stopped", line)
        if m:
            fig["method"] = m.group(1).lower()
        m = re.search(r"achieved accuracy: ?(\S+)", line)
        if m:
            fig["accuracy"] = float(m.group(1))
    return fig, marks


def read_measures(path):
    """The measures of a results file (or a reference) as {name: value}."""
    if not os.path.exists(path):
        return None
    measures = {}
    with open(path) as f:
        for line in f:
            words = line.split()
            if len(words) == 2:
                measures[words[0]] = float(words[1])
    return measures


def largest_relative_error(got, want):
    if not got or not want or set(got) != set(want):
        return None
    return max(abs(got[k] - want[k]) / abs(want[k]) if want[k] else abs(got[k]) for k in want)


def print_each_measure(fig, want):
    """One line per measure: its estimated and its real relative error."""
    for name, value in sorted((fig["measures"] or {}).items()):
        estimate = fig["measure_estimates"].get(name)
        real = largest_relative_error({name: value}, {name: want[name]}) if want and name in want else None
        ratio = estimate / real if estimate is not None and real else None
        print("    %-16s est %8s  real %8s  est/real %8s" %
              (name, fmt(estimate, ".1e"), fmt(real, ".1e"), fmt(ratio, ".3g")))


def run_one(mosk, model, size, epsilon, maxiter, solve_mode, keep, plenar_lines=None,
            generation_only=False):
    """One run; a generation-only run is stopped once the examination has
    written the chain files, with no workers to start meanwhile."""
    generator = MODELS[model][0]
    work = tempfile.mkdtemp(prefix="mosk-bench.")
    if plenar_lines is None:
        plenar_lines = SOLVER_LINES if solve_mode == "s" else ""
    try:
        env, models = make_environment(work, mosk, plenar_lines, workers=not generation_only)
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
        lines, wall, status, usage = run_on_pty(
            argv, env, work, CHAIN_FILES_WRITTEN if generation_only else None)
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
            # generation's peak: the peak so far when the examination starts
            "gen_peak_kb": marks["examine"][2] if "examine" in marks else None,
            "generation_only": generation_only,
            "edges": None if generation_only else chain_edges(models, name),
            "tangible": aux if aux is not None else fig["markings"],
            "results": os.path.exists(os.path.join(models, name + ".BSresults0")),
            "measures": read_measures(os.path.join(models, name + ".BSresults0")),
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


def reference_path(model, size):
    return os.path.join(REFERENCES, "%s%d" % (model, size))


def solver_name(fig):
    """What solved: direct, direct+<iteration>, the iteration, or nothing."""
    if fig["generation_only"]:
        return "gen only"
    method = fig.get("method", "sor")
    if fig["mode"] == "direct":
        return "direct"
    if fig["mode"] == "direct+sor":
        return "direct+" + method
    return fig["mode"].replace("sor", method)


def make_references(mosk, chosen, maxiter):
    """Writes the missing references; 1 when two methods disagree."""
    failures = 0
    os.makedirs(REFERENCES, exist_ok=True)
    for name, sizes in chosen.items():
        for size in sizes:
            path = reference_path(name, size)
            if os.path.exists(path):
                continue
            results = [run_one(mosk, name, size, "1e-13", maxiter, "i", None, lines)["measures"]
                       for lines in REFERENCE_RUNS]
            difference = largest_relative_error(results[0], results[1])
            print("%s %d: the two methods differ by %s" % (name, size, difference))
            if difference is None or difference > 1e-12:
                failures += 1
                continue
            with open(path, "w") as f:
                f.write("# %s N=%d: Gauss-Seidel to an estimated relative error of 1e-13,\n"
                        "# BiCGSTAB agreeing to %.1e\n" % (name, size, difference))
                for measure, value in results[0].items():
                    f.write("%s %.17g\n" % (measure, value))
    return 1 if failures else 0


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--mosk", required=True)
    ap.add_argument("--max-size", type=int, default=4,
                    help="size level: kanban and fms up to N, the large rings and stations from 5")
    ap.add_argument("--runs", type=int, default=1)
    ap.add_argument("--models", default=",".join(MODELS))
    ap.add_argument("--sizes", action="append", default=[], help="name=1,2,3")
    ap.add_argument("--epsilon", help="default 1e-9 with --solver s, else 1e-8")
    ap.add_argument("--maxiter", default="100000")
    ap.add_argument("--solver", choices=("s", "a", "i"), default="s")
    ap.add_argument("--make-references", action="store_true",
                    help="compute the missing references of the chosen sizes and stop")
    ap.add_argument("--generation-only", action="store_true",
                    help="stop every run once the examination has written the chain files")
    ap.add_argument("--keep", help="copy each run's directory here")
    ap.add_argument("--each-measure", action="store_true",
                    help="print each measure's estimated and real relative error")
    ap.add_argument("--strict", action="store_true",
                    help="a run that ends with a non-zero status fails the benchmark too")
    ap.add_argument("--plenar", action="append", default=[],
                    help="a further line of .Plenar, e.g. 'UNBOUNDED PLACES WARN'")
    args = ap.parse_args()
    PLENAR_LINES.extend(args.plenar)
    if args.epsilon is None:
        args.epsilon = "1e-9" if args.solver == "s" else "1e-8"
    mosk = os.path.abspath(args.mosk)
    chosen = {}
    for name in args.models.split(","):
        levels = MODELS[name][2]
        chosen[name] = [s for s in sorted(levels) if levels[s] <= args.max_size]
    for setting in args.sizes:
        name, sizes = setting.split("=")
        chosen[name] = [int(s) for s in sizes.split(",")]

    if args.make_references:
        return make_references(mosk, chosen, args.maxiter)
    head = ("model", "size", "tangible", "edges", "gen s", "gen CPU", "marks/s", "gen MB",
            "peak MB", "B/mark", "solver", "iter", "solve s", "accuracy", "prob est", "est err", "real err",
            "total s", "CPU s", "check")
    widths = (8, 5, 10, 10, 7, 7, 9, 7, 8, 7, 14, 6, 8, 9, 8, 8, 8, 8, 7, 6)
    row_format = " ".join("%%%ds" % w if i > 1 else "%%-%ds" % w for i, w in enumerate(widths))
    print("mosk benchmark, %d run(s) each, medians; epsilon %s, solver -%s" %
          (args.runs, args.epsilon, args.solver))
    print(row_format % head)
    failures = 0
    for name, sizes in chosen.items():
        count = MODELS[name][1]
        for size in sizes:
            generation_only = args.generation_only or size >= GENERATION_ONLY.get(name, size + 1)
            runs = [run_one(mosk, name, size, args.epsilon, args.maxiter, args.solver, args.keep,
                            generation_only=generation_only)
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
            gen_peak = median([r["gen_peak_kb"] for r in runs])
            solve = median([r["times"].get("solve") for r in runs]) if last["results"] else None
            print(row_format % (
                name, size, fmt(tangible, "d"), fmt(last["edges"], "d"), fmt(gen, ".2f"),
                fmt(gen_cpu, ".2f"), fmt(tangible / gen_cpu if gen_cpu and tangible else None, ".0f"),
                fmt(gen_peak / 1024 if gen_peak else None, ".0f"),
                fmt(peak / 1024 if peak else None, ".0f"),
                fmt(peak * 1024 / tangible if peak and tangible else None, ".0f"),
                solver_name(last), fmt(last["iterations"], "d"), fmt(solve, ".2f"),
                fmt(last["accuracy"], ".1e"), fmt(last["estimate"], ".1e"),
                fmt(last["measures_estimate"], ".1e"),
                fmt(largest_relative_error(last["measures"], read_measures(reference_path(name, size))),
                    ".1e"),
                fmt(median([r["wall"] for r in runs]), ".2f"),
                fmt(median([r["cpu"] for r in runs]), ".2f"),
                "ok" if ok else ("WRONG" if not counted else "FAIL%d" % last["status"])))
            if args.each_measure:
                print_each_measure(last, read_measures(reference_path(name, size)))
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
