#!/usr/bin/env python3
"""Two mosk builds on random coloured nets: the listing of every marking and
edge (-r -H), the chain files and the results must agree byte for byte.

The generation keeps the numbering of the queue of pending successors
whichever way a net is explored; a change to the exploration is checked by
running the build before it (--reference) and after it (--candidate) on
nets of every shape the generator makes: exclusive, infinite-server and
immediate transitions of one to four bindings, colours, guards. Every
binding moves one token, so each net is bounded, and a transition that
moves every token on keeps most of them free of absorbing markings (a net
that still ends in a fatal report must end in the same one in both builds).

    python3 bench/compare_random_nets.py --reference old/mosk --candidate build/src/run/mosk \\
        --seeds 1-200 [--no-immediates] [--most-tokens 7] [--keep DIR]

Exits 1 when any net differs; --keep copies the differing nets' files there.
"""
import argparse
import os
import random
import shutil
import subprocess
import sys
import tempfile

import run_bench

COLOURS = ("a.1", "b.1", "c.1", "d.1")
COMPARED = ("AUX", "CONV00", "EMC00", "BSresults0")


def random_net(seed, immediates=True, most_tokens=5):
    r = random.Random(seed)
    colours = COLOURS[:r.randint(2, 4)]
    places = ["P%d" % i for i in range(r.randint(2, 4))]
    initial = {}
    for _ in range(r.randint(2, most_tokens)):
        c = r.choice(colours)
        initial[c] = initial.get(c, 0) + 1
    lines = ["Definition :", "Parameter : Page : \\", "ElementaryPlace :",
             "ProductPlace : P0 ; ; " + " + ".join("%d'%s" % (k, c) for c, k in initial.items())]
    lines += ["| %s ; ;" % p for p in places[1:]]
    lines.append("Transition :")
    kinds = ("ES", "IS", "IM") if immediates else ("ES", "IS")
    for t in range(r.randint(3, 6)):
        kind = r.choice(kinds)
        bindings = []
        for _ in range(r.randint(1, 4)):
            guard = "( #%s < %d ) " % (r.choice(places), r.randint(1, 3)) if r.random() < 0.25 else ""
            arcs = "in#%s = %s , out#%s = %s" % (r.choice(places), r.choice(colours),
                                                 r.choice(places), r.choice(colours))
            if kind == "IM":
                delay = "Immediate(%d)" % r.randint(1, 5)
            elif kind == "IS":
                delay = "Exponential(%g)" % r.choice((0.5, 1, 2, 3))
            else:
                delay = "%d ; Exponential(%g)" % (r.randint(1, 3), r.choice((0.5, 1, 2, 3)))
            bindings.append("%s%s ; %s" % (guard, arcs, delay))
        lines.append("T%d%s [ %s ]" % (t, " IS" if kind == "IS" else "", " | ".join(bindings)))
    onwards = []
    for i, p in enumerate(places):
        for j, c in enumerate(colours):
            onwards.append("in#%s = %s , out#%s = %s ; Exponential(%g)" % (
                p, c, places[(i + 1) % len(places)], colours[(j + 1) % len(colours)],
                1.0 + len(onwards) % 3))
    lines.append("Onwards IS [ %s ]" % " | ".join(onwards))
    lines += ["Evaluate :", "first = E[ #P0 ]"]
    return "\n".join(lines) + "\n"


def run(mosk, table, into):
    """Runs mosk on the net as the benchmark does; keeps its model files and
    its listing in `into`, and answers its exit status."""
    work = tempfile.mkdtemp(prefix="mosk-random.")
    try:
        env, models = run_bench.make_environment(work, mosk, run_bench.SOLVER_LINES)
        with open(os.path.join(models, "m.table"), "w") as f:
            f.write(table)
        with open(os.path.join(models, "m.BSdelays0"), "w") as f:
            f.write("0\n*#END#*\n")
        with open(os.path.join(models, "m.BSdelays1"), "w") as f:
            f.write("EXIT\n*#END#*\n")
        done = subprocess.run([mosk, "-r", "-H", "-N", os.path.join(models, "m"), "-S", "BS",
                               "-E", "1e-12", "-M", "3000"],
                              env=env, cwd=work, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                              timeout=300)
        shutil.copytree(models, into)
        with open(os.path.join(into, "listing"), "wb") as f:
            f.write(done.stdout)
        return done.returncode
    finally:
        shutil.rmtree(work, ignore_errors=True)


def read(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except FileNotFoundError:
        return None


def differences(a, b):
    names = ["listing"] + ["m." + s for s in COMPARED]
    return [n for n in names if read(os.path.join(a, n)) != read(os.path.join(b, n))]


def seeds(text):
    first, _, last = text.partition("-")
    return range(int(first), int(last or first) + 1)


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--reference", required=True)
    ap.add_argument("--candidate", required=True)
    ap.add_argument("--seeds", default="1-100", help="first-last")
    ap.add_argument("--no-immediates", action="store_true")
    ap.add_argument("--most-tokens", type=int, default=5)
    ap.add_argument("--keep", help="copy the differing nets' files here")
    args = ap.parse_args()
    builds = [os.path.abspath(args.reference), os.path.abspath(args.candidate)]
    same = failing = 0
    differing = []
    for seed in seeds(args.seeds):
        table = random_net(seed, not args.no_immediates, args.most_tokens)
        scratch = tempfile.mkdtemp(prefix="mosk-compare.")
        runs = [os.path.join(scratch, side) for side in ("reference", "candidate")]
        statuses = [run(mosk, table, into) for mosk, into in zip(builds, runs)]
        found = differences(*runs)
        if statuses[0] != statuses[1]:
            found.append("exit status %d against %d" % tuple(statuses))
        failing += statuses[0] != 0
        if found:
            differing.append(seed)
            print("seed %d differs: %s" % (seed, ", ".join(found)))
            if args.keep:
                shutil.copytree(scratch, os.path.join(args.keep, "seed%d" % seed), dirs_exist_ok=True)
        else:
            same += 1
        shutil.rmtree(scratch, ignore_errors=True)
    print("%d nets alike, %d differ (%d ended with a fatal report in the reference)"
          % (same, len(differing), failing))
    return 1 if differing else 0


if __name__ == "__main__":
    sys.exit(main())
