#!/usr/bin/env python3
"""What a sweep costs per value against single runs of mosk-solve, with the
error of every value against the closed form of the M/M/1/K queue.

usage: sweep_overhead.py [--mosk-solve PATH] [--values N] [--capacities 5,60000]
                         [--repeat R]

For each capacity K it times N separate runs of mosk-solve (one description
per value of the mean interarrival time, written by this script), the same
values as one sweep run after run (--jobs 1) and as one sweep with a run per
core; and for the queue with its server on a sub-page, a sweep of the service
time, which mosk solves as passes over one graph. Wall time is the elapsed
time, CPU time that of mosk-solve and everything it started, each the
median of R repetitions. Errors are the largest over the values of
|p0 - exact| and |mean - exact| / exact. The values keep the load at or
below 0.8 (mean interarrival times 0.625 to 2 against the service time 0.5,
service times 0.1 to 0.8 against the interarrival time 1); a place holds at
most 65,535 tokens, so K stays below that."""
import argparse
import json
import os
import resource
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_SOLVE = os.path.join(HERE, "..", "build", "src", "frontend", "mosk-solve")

# Mean delays: arrivals 1, service 0.5; the root page's places follow.
DEFINITIONS = """Definition :
\\arrival = 1.0
| \\service = 0.5
Parameter : Page : \\
"""

FLAT = DEFINITIONS + """ElementaryPlace : P ; {k} ;
ProductPlace :
Transition :
Arrive [ out#P = e ; Exponential(arrival) ]
Serve [ in#P = e ; Exponential(service) ]
Evaluate :
p0 = P[ #P = 0 ]
| mean = E[ #P ]
"""

SUB_PAGE = DEFINITIONS + """ElementaryPlace : Queue ; {k} ;
ProductPlace :
Transition :
Arrive [ out#Queue = e ; Exponential(arrival) ]
Server [ subpage \\Srv ; assign Queue -> Waiting ]
Evaluate :
p0 = P[ #Queue = 0 ]
| mean = E[ #Queue ]
Parameter :
\\Srv\\meanservice = service
Page : \\Srv
ElementaryPlace : Waiting ; ;
ProductPlace :
Transition :
Serve [ in#Waiting = e ; Exponential(meanservice) ]
Evaluate :
busy = P[ #Waiting > 0 ]
"""


def exact(k, arrival, service):
    """p0 and the mean of M/M/1/K with mean delays `arrival` and `service`,
    summed as a geometric series from the fuller end when rho > 1."""
    rho = service / arrival
    if rho == 1:
        return 1 / (k + 1), k / 2
    weights = [rho ** j for j in range(k + 1)] if rho < 1 else \
        [(1 / rho) ** (k - j) for j in range(k + 1)]
    total = sum(weights)
    return weights[0] / total, sum(j * w for j, w in enumerate(weights)) / total


def timed(args):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    run = subprocess.run(args, capture_output=True, text=True)
    wall = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    if run.returncode != 0:
        sys.exit("failed: %s\n%s" % (" ".join(args), run.stderr))
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    return json.loads(run.stdout), wall, cpu


def worst_error(k, rows):
    worst = 0.0
    for arrival, service, measures in rows:
        p0, mean = exact(k, arrival, service)
        worst = max(worst, abs(measures["p0"] - p0), abs(measures["mean"] - mean) / mean)
    return worst


def values_text(values):
    return ",".join(repr(v) for v in values)


def measure(solve, work, template, k, name, values):
    """Separate runs, then sweeps, of the definition `name`."""
    base = os.path.join(work, "model.table")
    with open(base, "w") as f:
        f.write(template.format(k=k))
    other = {"arrival": 1.0, "service": 0.5}
    separate_wall = separate_cpu = 0.0
    rows = []
    for i, value in enumerate(values):
        path = os.path.join(work, "value%d.table" % i)
        with open(path, "w") as f:
            f.write(template.format(k=k).replace("\\%s = %r" % (name, other[name]),
                                                   "\\%s = %r" % (name, value)))
        report, wall, cpu = timed([solve, "--no-progress", "--format", "json", path])
        separate_wall += wall
        separate_cpu += cpu
        point = dict(other, **{name: value})
        rows.append((point["arrival"], point["service"], report["measures"]))
    results = {"separate": (separate_wall, separate_cpu, worst_error(k, rows), len(values))}
    for label, jobs in (("sweep --jobs 1", ["--jobs", "1"]), ("sweep, run per core", [])):
        report, wall, cpu = timed([solve, "--no-progress", "--format", "json", *jobs,
                                   "--set", "%s=%s" % (name, values_text(values)), base])
        swept = [(row["set"].get("arrival", other["arrival"]),
                  row["set"].get("service", other["service"]), row["measures"])
                 for row in report["passes"]]
        results[label] = (wall, cpu, worst_error(k, swept), report["runs"])
    return results


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--mosk-solve", default=DEFAULT_SOLVE)
    parser.add_argument("--values", type=int, default=16)
    parser.add_argument("--capacities", default="5,60000")
    parser.add_argument("--repeat", type=int, default=3)
    options = parser.parse_args()
    spaced = [i / (options.values - 1) for i in range(options.values)]
    values = {"arrival": [0.625 + 1.375 * x for x in spaced],
              "service": [0.1 + 0.7 * x for x in spaced]}
    print("%-46s %5s %9s %9s %12s %10s %9s" % ("sweep", "runs", "wall s", "cpu s",
                                                 "wall/value", "overhead", "error"))
    with tempfile.TemporaryDirectory(prefix="sweep-bench.") as work:
        for k in (int(c) for c in options.capacities.split(",")):
            for template, name, what in ((FLAT, "arrival", "flat M/M/1/%d, arrival" % k),
                                         (SUB_PAGE, "service", "sub-page M/M/1/%d, service" % k)):
                trials = [measure(options.mosk_solve, work, template, k, name, values[name])
                          for _ in range(options.repeat)]
                results = {label: tuple(statistics.median(t[label][i] for t in trials)
                                        for i in range(4))
                           for label in trials[0]}
                base = results["separate"][0] / options.values
                for label, (wall, cpu, error, runs) in results.items():
                    per_value = wall / options.values
                    print("%-46s %5d %9.2f %9.2f %12.3f %+10.3f %9.1e" % (
                        "%s: %s" % (what, label), runs, wall, cpu, per_value,
                        per_value - base, error))


if __name__ == "__main__":
    main()
