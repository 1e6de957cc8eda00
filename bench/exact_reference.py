#!/usr/bin/env python3
"""References below the resolution of a double solve, for the all-exponential
bench nets: the chain is generated here from the net's own transitions
(independently of the engine), solved in long double by exact_chain, and
its measures are written as a reference of bench/references.

usage: exact_reference.py --exact-chain PATH kanban N     writes bench/references/kanbanN
       exact_reference.py --exact-chain PATH --check      checks exact_chain against
                                                          a closed form (exit 1 if off)

The rates go to exact_chain as hexadecimal floats, so that the reference is
the exact solution of the chain the engine solves (whose rates are doubles).
The check solves a closed cyclic network of four exponential stations, whose
product form gives every measure as an exact fraction, and requires each
measure within 1e-17 relative.
"""
import argparse
import os
import subprocess
import sys
from collections import deque
from fractions import Fraction

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from models import KANBAN  # noqa: E402

REFERENCES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "references")


def kanban_net(n):
    """(initial marking, transitions as (inputs, outputs, rate), measures) of
    the kanban net of models/kanban.py, whose Exponential(m) fires at rate
    1/m (in double, as the engine computes it)."""
    places = []
    for i in range(1, 5):
        places += ["pm%d" % i, "pback%d" % i, "pkan%d" % i, "pout%d" % i]
    initial = {"pkan%d" % i: n for i in range(1, 5)}
    transitions = [(["pkan1"], ["pm1"], 1.0)]  # (inputs, outputs, mean delay)
    for i in range(1, 5):
        transitions += [(["pm%d" % i], ["pback%d" % i], 2.5),
                        (["pback%d" % i], ["pm%d" % i], 3.0),
                        (["pm%d" % i], ["pout%d" % i], 1.2)]
    transitions += [(["pout1", "pkan2", "pkan3"], ["pkan1", "pm2", "pm3"], 2.0),
                    (["pout2", "pout3", "pkan4"], ["pkan2", "pkan3", "pm4"], 2.0),
                    (["pout4"], ["pkan4"], 1.0)]
    index = {p: k for k, p in enumerate(places)}
    start = tuple(initial.get(p, 0) for p in places)
    moves = [([index[p] for p in ins], [index[p] for p in outs], 1.0 / mean)
             for ins, outs, mean in transitions]
    measures = {
        "\\busy1": lambda m: 1.0 if m[index["pm1"]] > 0 else 0.0,
        "\\cards4": lambda m: float(m[index["pkan4"]]),
        "\\throughput": lambda m: 1.0 if m[index["pout4"]] > 0 else 0.0,
    }
    return start, moves, measures


def reachable_chain(start, moves):
    """The markings reachable from start (breadth first) and the transitions
    between them as (from, to, rate), rates of parallel firings added."""
    number = {start: 0}
    markings = [start]
    edges = []
    queue = deque([start])
    while queue:
        m = queue.popleft()
        rates = {}
        for ins, outs, rate in moves:
            if all(m[p] > 0 for p in ins):
                after = list(m)
                for p in ins:
                    after[p] -= 1
                for p in outs:
                    after[p] += 1
                after = tuple(after)
                if after not in number:
                    number[after] = len(markings)
                    markings.append(after)
                    queue.append(after)
                target = number[after]
                if target != number[m]:
                    rates[target] = rates.get(target, 0.0) + rate
        edges += [(number[m], t, r) for t, r in rates.items()]
    return markings, edges


def chain_text(markings, edges, measures):
    lines = ["states %d" % len(markings)]
    lines += ["rate %d %d %s" % (i, j, float(r).hex()) for i, j, r in edges]
    for name, weight in measures.items():
        for k, m in enumerate(markings):
            w = weight(m)
            if w != 0.0:
                lines.append("weight %s %d %s" % (name, k, float(w).hex()))
    return "\n".join(lines) + "\n"


def solve(exact_chain, text):
    """The measures exact_chain computes, as strings, and its report."""
    done = subprocess.run([exact_chain], input=text, capture_output=True, text=True, check=True)
    values = dict(line.split() for line in done.stdout.splitlines())
    return values, done.stderr.strip()


def cyclic_network(customers, service):
    """A closed cycle of exponential stations: the chain, and the exact
    utilisation of the first station and mean count at the last."""
    stations = len(service)
    moves = [([k], [(k + 1) % stations], rate) for k, rate in enumerate(service)]
    start = (customers,) + (0,) * (stations - 1)
    markings, edges = reachable_chain(start, moves)
    exact = [Fraction(rate) for rate in service]

    def weight(m):
        w = Fraction(1)
        for count, rate in zip(m, exact):
            w /= rate ** count
        return w
    weights = [weight(m) for m in markings]
    total = sum(weights)
    closed = {"busy": sum(w for w, m in zip(weights, markings) if m[0] > 0) / total,
              "queue": sum(w * m[-1] for w, m in zip(weights, markings)) / total}
    measures = {"busy": lambda m: 1.0 if m[0] > 0 else 0.0, "queue": lambda m: float(m[-1])}
    return markings, edges, measures, closed


def check(exact_chain):
    markings, edges, measures, closed = cyclic_network(20, (1.0, 2.5, 3.0, 1.2))
    values, report = solve(exact_chain, chain_text(markings, edges, measures))
    print("cyclic network, %d states: %s" % (len(markings), report))
    worst = 0.0
    for name, want in closed.items():
        error = abs(Fraction(values[name]) - want) / want
        print("  %s %s, closed form %.21g, relative error %.1e" % (name, values[name], float(want), error))
        worst = max(worst, float(error))
    return 0 if worst <= 1e-17 else 1


NETS = {"kanban": (kanban_net, KANBAN)}  # net, known marking counts


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--exact-chain", required=True)
    ap.add_argument("--check", action="store_true")
    ap.add_argument("model", nargs="?", choices=sorted(NETS))
    ap.add_argument("size", nargs="?", type=int)
    args = ap.parse_args()
    if args.check:
        return check(args.exact_chain)
    if args.model is None or args.size is None:
        ap.error("a model and a size, or --check")
    net, counts = NETS[args.model]
    start, moves, measures = net(args.size)
    markings, edges = reachable_chain(start, moves)
    if args.size in counts and len(markings) != counts[args.size]:
        print("%d markings, not the known %d" % (len(markings), counts[args.size]))
        return 1
    values, report = solve(args.exact_chain, chain_text(markings, edges, measures))
    path = os.path.join(REFERENCES, "%s%d" % (args.model, args.size))
    with open(path, "w") as f:
        f.write("# %s N=%d: %d markings generated by exact_reference.py, solved in long double\n"
                "# by Gauss-Seidel sweeps until their changes stopped shrinking; %s\n"
                % (args.model, args.size, len(markings), report))
        for name, value in values.items():
            f.write("%s %s\n" % (name, value))
    print("%s: %d markings; %s" % (path, len(markings), report))
    return 0


if __name__ == "__main__":
    sys.exit(main())
