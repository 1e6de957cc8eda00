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

--deterministic adds one or two single-server transitions with
deterministic, or with uniform and general, delays, whose chains the
workers analyse: their firings lead to the intermediate markings and
immediate firings that the other nets never reach that way. Every file a
run leaves beside the description is compared (with the workers' chain
files, the member order files and the steady-state vector), the workers
being those of --workers for both builds. Left out are the lines the
workers write into the listing when they meet a failure, and their chain
files where both runs end with a fatal report while workers may still be
running: both depend on timing, not on the build. Such a net is shaped so that most run to the end: its
immediate transitions cannot fire in a loop, its infinite-server bindings
never put back the token they take, two timed transitions take turns by
their own firings, and it holds at most four tokens unless --most-tokens
says otherwise. Of seeds 1-200, 166 run to the end; 19 stop because a
timed transition is never enabled in a tangible marking, 15 in the solver.

--stations makes nets of two or three stations instead, whose transitions
stay within one station but for one or two timed ones that move a token in
each of two stations at once. A firing then leaves the enabling of the
other stations' transitions as it was, so the queue fires their known
bindings in the order it kept them (first found, then last found first):
the order that the exploration must follow through vanishing markings.
Most bindings of an immediate transition take the same token, which the
cross-station firings bring, so that several are enabled together; they
move it forward within the station, so that no net loops among vanishing
markings. A station holds two or three tokens.

    python3 bench/compare_random_nets.py --reference old/mosk --candidate build/src/run/mosk \\
        --seeds 1-200 [--no-immediates] [--most-tokens 7] [--deterministic | --stations] [--keep DIR]

Exits 1 when any net differs; --keep copies the differing nets' files there.
A run is stopped after TIMEOUT seconds; a net that times out in both builds
is counted apart.
"""
import argparse
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile

import run_bench

COLOURS = ("a.1", "b.1", "c.1", "d.1")
# Seconds a run may take before it is stopped.
TIMEOUT = 300
# Exit statuses of fatal reports made while workers may still be running.
WORKER_STAGES = (242, 243)
WORKER_CHAIN_FILE = re.compile(r"m\.(EMC|CONV)(0[1-9]|[1-9][0-9])[0-9]*")
BUILT_WORKERS = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))),
                             "build", "src", "workers")
# The delays of a net's timed transitions that are not exponential: those
# of one net are all deterministic or all general, since the chains of the
# two kinds must not meet through an exponential move.
TIMED_FAMILIES = (("Deterministic",), ("Deterministic",), ("Uniform", "General"))
DISTRIBUTIONS = ("R[0,2]*0.5", "x*e^(-x)", "0.3*I[1]+0.7*I[2]", "2*e^(-x)-2*e^(-2*x)")


def random_net(seed, immediates=True, most_tokens=5, deterministic=False):
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
    drained = set()
    for t in range(r.randint(3, 6)):
        kind = r.choice(kinds)
        bindings = []
        for _ in range(r.randint(1, 4)):
            guard = random_guard(r, places)
            if kind == "IM" and deterministic:
                arcs, source = upward_arcs(r, places, colours)
                drained.add(source)
            else:
                # An infinite-server binding that puts back the token it
                # takes counts as enabled 65535 times at once: its rate
                # would make the workers take tens of thousands of steps.
                arcs = random_arcs(r, places, colours, kind == "IS" and deterministic)
            if kind == "IM":
                delay = "Immediate(%d)" % r.randint(1, 5)
            elif kind == "IS":
                delay = "Exponential(%g)" % r.choice((0.5, 1, 2, 3))
            else:
                delay = "%d ; Exponential(%g)" % (r.randint(1, 3), r.choice((0.5, 1, 2, 3)))
            bindings.append("%s%s ; %s" % (guard, arcs, delay))
        lines.append("T%d%s [ %s ]" % (t, " IS" if kind == "IS" else "", " | ".join(bindings)))
    if deterministic:
        plain, timed = timed_transitions(r, places, colours, drained)
        if plain:
            lines[2] += " " + " | ".join(plain)
        lines += timed
    lines.append("Onwards IS [ %s ]" % " | ".join(onwards_bindings(places, colours)))
    lines += ["Evaluate :", "first = E[ #P0 ]"]
    return "\n".join(lines) + "\n"


def stations_net(seed, immediates=True):
    r = random.Random(seed)
    stations = r.randint(2, 3)
    colours = COLOURS[:r.randint(2, 3)]
    # Each station's places, its tokens and its slots (place, colour) in order.
    places = [["S%dP0" % s, "S%dP1" % s] for s in range(stations)]
    slots = [[(p, c) for p in station for c in colours] for station in places]
    lines = ["Definition :", "Parameter : Page : \\", "ElementaryPlace :"]
    for s, station in enumerate(places):
        initial = {}
        for _ in range(r.randint(2, 3 if stations == 2 else 2)):
            c = r.choice(colours)
            initial[c] = initial.get(c, 0) + 1
        marking = " + ".join("%d'%s" % (k, c) for c, k in initial.items())
        lines.append(("ProductPlace : " if s == 0 else "| ") + "%s ; ; %s" % (station[0], marking))
        lines.append("| %s ; ;" % station[1])
    lines.append("Transition :")
    # The token that most immediate bindings take and the cross-station
    # firings bring: the first colour in a station's second place.
    shared = len(colours)
    kinds = ("ES", "IS", "IM", "IM") if immediates else ("ES", "IS")
    t = 0
    for s, station in enumerate(places):
        for _ in range(r.randint(2, 3)):
            kind = r.choice(kinds)
            source = shared if kind == "IM" and r.random() < 0.6 else None
            bindings = []
            for _ in range(r.randint(2, 4) if kind != "ES" else r.randint(1, 3)):
                guard = random_guard(r, station, 0.2)
                if kind == "IM":
                    low = r.randrange(len(slots[s]) - 1) if source is None else source
                    high = r.randrange(low + 1, len(slots[s]))
                    arcs = "in#%s = %s , out#%s = %s" % (slots[s][low] + slots[s][high])
                    delay = "Immediate(%d)" % r.randint(1, 5)
                elif kind == "IS":
                    arcs = random_arcs(r, station, colours)
                    delay = "Exponential(%g)" % r.choice((0.5, 1, 2, 3))
                else:
                    arcs = random_arcs(r, station, colours)
                    delay = "%d ; Exponential(%g)" % (r.randint(1, 3), r.choice((0.5, 1, 2, 3)))
                bindings.append("%s%s ; %s" % (guard, arcs, delay))
            lines.append("T%d%s [ %s ]" % (t, " IS" if kind == "IS" else "", " | ".join(bindings)))
            t += 1
    for _ in range(r.randint(1, 2)):
        pair = r.sample(range(stations), 2)
        bindings = []
        for _ in range(r.randint(1, 3)):
            moves = ["in#%s = %s , out#%s = %s" % ((places[s][0], r.choice(colours)) + slots[s][shared])
                     for s in pair]
            bindings.append("%s ; %d ; Exponential(%g)" % (" , ".join(moves), r.randint(1, 3),
                                                           r.choice((0.5, 1, 2))))
        lines.append("X%d [ %s ]" % (t, " | ".join(bindings)))
        t += 1
    for s, station in enumerate(places):
        lines.append("Onwards%d IS [ %s ]" % (s, " | ".join(onwards_bindings(station, colours))))
    lines += ["Evaluate :", "first = E[ #S0P0 ]"]
    return "\n".join(lines) + "\n"


def onwards_bindings(places, colours):
    """Every token moves on to the next place and colour."""
    bindings = []
    for i, p in enumerate(places):
        for j, c in enumerate(colours):
            bindings.append("in#%s = %s , out#%s = %s ; Exponential(%g)" % (
                p, c, places[(i + 1) % len(places)], colours[(j + 1) % len(colours)],
                1.0 + len(bindings) % 3))
    return bindings


def random_guard(r, places, share=0.25):
    return "( #%s < %d ) " % (r.choice(places), r.randint(1, 3)) if r.random() < share else ""


def random_arcs(r, places, colours, moving=False):
    """Arcs that take a token and put one; `moving` ones never put back the
    place and colour they take from."""
    source = (r.choice(places), r.choice(colours))
    target = (r.choice(places), r.choice(colours))
    while moving and target == source:
        target = (r.choice(places), r.choice(colours))
    return "in#%s = %s , out#%s = %s" % (source + target)


def upward_arcs(r, places, colours):
    """Arcs that move a token to a later place and colour (places first): a
    sequence of such firings cannot come back to a marking, so immediate
    transitions built of them never fire in a loop. Answers the arcs and the
    place and colour they take from."""
    slots = [(p, c) for p in places for c in colours]
    low, high = sorted(r.sample(range(len(slots)), 2))
    return "in#%s = %s , out#%s = %s" % (slots[low] + slots[high]), slots[low]


def timed_delay(r, kind):
    if kind == "Deterministic":
        return "Deterministic(%g)" % r.choice((0.5, 1, 1.5, 2))
    if kind == "Uniform":
        low = r.choice((0.25, 0.5, 1))
        return "Uniform(%g, %g)" % (low, low + r.choice((0.5, 1)))
    return "General(%s)" % r.choice(DISTRIBUTIONS)


def timed_transitions(r, places, colours, drained):
    """One or two single-server transitions with deterministic or general
    delays, one delay for all bindings of a transition (the workers take one
    per transition). At most one such transition may be enabled in a
    marking: two take turns by the plain place Mode, which the first fills
    and the second empties. Nets in which exponential firings pass from the
    chain of one to that of the other and back were seen to keep mosk busy
    for good before it started the workers; taking turns only by their own
    firings keeps such moves out. A transition never enabled in a tangible marking
    ends the run (its chain is empty), so where possible they take tokens of
    a place and colour that no immediate transition takes from (such tokens
    would never rest there). Answers the plain places and the transitions."""
    family = r.choice(TIMED_FAMILIES)
    count = r.randint(1, 2)
    sources = [(p, c) for p in places for c in colours if (p, c) not in drained]
    sources = sources or [(p, c) for p in places for c in colours]
    turns = [("( #Mode < 1 ) ", " , out#Mode = e"), ("", " , in#Mode = e")] if count == 2 else [("", "")]
    lines = []
    for guard, turn in turns:
        delay = timed_delay(r, r.choice(family))
        bindings = []
        for _ in range(r.randint(1, 4)):
            arcs = "in#%s = %s , out#%s = %s" % (r.choice(sources) + (r.choice(places), r.choice(colours)))
            bindings.append("%s%s%s ; %d ; %s" % (random_guard(r, places), arcs, turn,
                                                   r.randint(1, 3), delay))
        lines.append("D%d %s[ %s ]" % (len(lines), guard, " | ".join(bindings)))
    return (["Mode ; ;"] if count == 2 else []), lines


def run(mosk, table, into, workers):
    """Runs mosk on the net as the benchmark does, with the workers of the
    directory `workers`; keeps its model files and its listing in `into`,
    and answers its exit status, None when it was stopped after TIMEOUT
    seconds (with the workers it started: they share its process group)."""
    work = tempfile.mkdtemp(prefix="mosk-random.")
    try:
        # A worker that fails ends the run at once, with its reason.
        plenar = run_bench.SOLVER_LINES + "WORKER FAILURES STOP\n"
        env, models = run_bench.make_environment(work, mosk, plenar, workers_dir=workers)
        with open(os.path.join(models, "m.table"), "w") as f:
            f.write(table)
        with open(os.path.join(models, "m.BSdelays0"), "w") as f:
            f.write("0\n*#END#*\n")
        with open(os.path.join(models, "m.BSdelays1"), "w") as f:
            f.write("EXIT\n*#END#*\n")
        child = subprocess.Popen([mosk, "-r", "-H", "-N", os.path.join(models, "m"), "-S", "BS",
                                  "-E", "1e-12", "-M", "3000"],
                                 env=env, cwd=work, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                 start_new_session=True)
        try:
            listing, _ = child.communicate(timeout=TIMEOUT)
            status = child.returncode
        except subprocess.TimeoutExpired:
            os.killpg(child.pid, signal.SIGKILL)
            listing, _ = child.communicate()
            status = None
        shutil.copytree(models, into)
        with open(os.path.join(into, "listing"), "wb") as f:
            f.write(listing)
        return status
    finally:
        shutil.rmtree(work, ignore_errors=True)


def read(path):
    """The file's bytes, None when it is missing; a listing without the lines
    the workers write (to mosk's standard error, when they fail or lose
    mosk), which depend on when they met the failure."""
    try:
        with open(path, "rb") as f:
            text = f.read()
    except FileNotFoundError:
        return None
    if os.path.basename(path) != "listing":
        return text
    return b"".join(line for line in text.splitlines(keepends=True)
                    if not line.startswith((b"kiln_da: ", b"ekiln: ")))


def differences(a, b, workers_cut_short=False):
    """The files that differ or are missing on one side: the listing and
    whatever mosk and the workers left in the model directory, but for the
    workers' chain files when a fatal report ended the runs while workers
    may still have been writing them."""
    names = sorted(set(os.listdir(a)) | set(os.listdir(b)))
    if workers_cut_short:
        names = [n for n in names if not WORKER_CHAIN_FILE.fullmatch(n)]
    return [n for n in names if read(os.path.join(a, n)) != read(os.path.join(b, n))]


def seeds(text):
    first, _, last = text.partition("-")
    return range(int(first), int(last or first) + 1)


def describe(status):
    return "timed out" if status is None else "exit status %d" % status


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--reference", required=True)
    ap.add_argument("--candidate", required=True)
    ap.add_argument("--seeds", default="1-100", help="first-last")
    ap.add_argument("--no-immediates", action="store_true")
    ap.add_argument("--most-tokens", type=int,
                    help="the most tokens of a net (default 5, 4 with --deterministic, whose "
                         "workers take long on larger chains)")
    ap.add_argument("--deterministic", action="store_true",
                    help="add transitions with deterministic, uniform or general delays")
    ap.add_argument("--stations", action="store_true",
                    help="nets of stations whose firings leave the other stations' enabling as it was")
    ap.add_argument("--workers", default=BUILT_WORKERS,
                    help="the directory of kiln_da and ekiln (default: this checkout's build)")
    ap.add_argument("--keep", help="copy the differing nets' files here")
    args = ap.parse_args()
    if args.stations and args.deterministic:
        ap.error("--stations and --deterministic make nets of their own shapes: choose one")
    most_tokens = args.most_tokens or (4 if args.deterministic else 5)
    builds = [os.path.abspath(args.reference), os.path.abspath(args.candidate)]
    workers = os.path.abspath(args.workers)
    if args.deterministic:
        for name in run_bench.WORKERS:
            if not os.access(os.path.join(workers, name), os.X_OK):
                ap.error("no %s in %s (build it, or name its directory with --workers)" % (name, workers))
    same = failing = stuck = 0
    differing = []
    for seed in seeds(args.seeds):
        if args.stations:
            table = stations_net(seed, not args.no_immediates)
        else:
            table = random_net(seed, not args.no_immediates, most_tokens, args.deterministic)
        scratch = tempfile.mkdtemp(prefix="mosk-compare.")
        runs = [os.path.join(scratch, side) for side in ("reference", "candidate")]
        statuses = [run(mosk, table, into, workers) for mosk, into in zip(builds, runs)]
        if statuses == [None, None]:
            # Files cut off at different points say nothing about the builds.
            stuck += 1
            print("seed %d timed out in both builds" % seed)
            shutil.rmtree(scratch, ignore_errors=True)
            continue
        found = differences(*runs, statuses[0] == statuses[1] and statuses[0] in WORKER_STAGES)
        if statuses[0] != statuses[1]:
            found.append("%s against %s" % tuple(describe(s) for s in statuses))
        failing += statuses[0] not in (0, None)
        if found:
            differing.append(seed)
            print("seed %d differs: %s" % (seed, ", ".join(found)))
            if args.keep:
                shutil.copytree(scratch, os.path.join(args.keep, "seed%d" % seed), dirs_exist_ok=True)
        else:
            same += 1
        shutil.rmtree(scratch, ignore_errors=True)
    print("%d nets alike, %d differ, %d timed out in both (%d ended with a fatal report in the reference)"
          % (same, len(differing), stuck, failing))
    return 1 if differing else 0


if __name__ == "__main__":
    sys.exit(main())
