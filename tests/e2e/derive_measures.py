#!/usr/bin/env python3
"""Derives the expected measures of the end-to-end cases whose values come
from a chain written down by hand (independently of the engine) and writes
them as the cases' `measures` files.

    python3 tests/e2e/derive_measures.py          # rewrite the files
    python3 tests/e2e/derive_measures.py --check  # fail if a file would change

A net with deterministic delays is solved through its chain embedded at the
moments a deterministic clock starts (or an exponential marking is left):
from an entry marking n of a deterministic transition of delay tau the
markings of that transition evolve by their exponential edges; Omega(tau) is
where they are after tau and int_0^tau Omega(s) ds the time spent in each.
Both come from the uniformised chain in 40-digit decimals. With nu the
stationary vector of the embedded chain, the time-average probability of a
marking is the expected time spent in it per step, normalised."""
import os
import sys
from decimal import Decimal, getcontext

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "examples"))
from derive import mg1k, poisson, solve_rows, text, write_or_check  # noqa: E402

getcontext().prec = 40
TAIL = Decimal("1e-36")


class Net:
    """Tangible markings with exponential edges and at most one deterministic
    transition each: det[m] = (name, tau, marking reached by its firing)."""

    def __init__(self):
        self.rates, self.det = {}, {}

    def edge(self, source, target, rate):
        targets = self.rates.setdefault(source, {})
        self.rates.setdefault(target, {})
        targets[target] = targets.get(target, 0) + Decimal(rate)

    def fires(self, marking, name, tau, target):
        self.det[marking] = (name, Decimal(tau), target)
        self.rates.setdefault(marking, {})
        self.rates.setdefault(target, {})


def transient(net, entry):
    """(where, time): from entry, the distribution over the markings of its
    deterministic transition (and over the markings an exponential edge
    leaves them for) after tau, and the expected time spent in each before."""
    name, tau, _ = net.det[entry]

    def inside(m):
        return m in net.det and net.det[m][0] == name

    q = max([sum(net.rates[m].values()) for m in net.rates if inside(m)] + [Decimal(1)])
    vector, where, time = {entry: Decimal(1)}, {}, {}
    k, below = 0, Decimal(0)  # below = P[N(q tau) <= k - 1]
    while 1 - below > TAIL:
        weight = poisson(k, q * tau)
        below += weight
        for m, p in vector.items():
            where[m] = where.get(m, 0) + weight * p
            time[m] = time.get(m, 0) + (1 - below) / q * p
        step = {}
        for m, p in vector.items():
            out = net.rates[m] if inside(m) else {}
            stay = 1 - sum(out.values()) / q
            step[m] = step.get(m, 0) + p * stay
            for t, r in out.items():
                step[t] = step.get(t, 0) + p * r / q
        vector, k = step, k + 1
    return where, time


def stationary(net):
    """Time-average probabilities of the tangible markings."""
    states = sorted(net.rates)
    row, sojourn = {}, {}
    for m in states:
        if m in net.det:
            where, time = transient(net, m)
            row[m] = {}
            for t, p in where.items():
                inside = t in net.det and net.det[t][0] == net.det[m][0]
                target = net.det[t][2] if inside else t
                row[m][target] = row[m].get(target, 0) + p
            sojourn[m] = time
        else:
            total = sum(net.rates[m].values())
            row[m] = {t: r / total for t, r in net.rates[m].items()}
            sojourn[m] = {m: 1 / total}
    nu = solve_left(states, row)
    pi = {m: Decimal(0) for m in states}
    for n in states:
        for m, t in sojourn[n].items():
            pi[m] += nu[n] * t
    total = sum(pi.values())
    return {m: p / total for m, p in pi.items()}


def solve_left(states, row):
    """nu with nu P = nu and sum nu = 1."""
    n, index = len(states), {s: i for i, s in enumerate(states)}
    a = [[Decimal(0)] * (n + 1) for _ in range(n)]
    for s in states:
        for t, p in row[s].items():
            a[index[t]][index[s]] += p
    for i in range(n):
        a[i][i] -= 1
    a[-1] = [Decimal(1)] * (n + 1)
    x = solve_rows(a)
    return {s: x[index[s]] for s in states}


def md1k_queue():
    # M/D/1/5: arrivals rate 1, service 0.5.
    p = mg1k(1, Decimal("0.5"), 5, lambda k: poisson(k, Decimal("0.5")))
    return [("p%d" % k, p[k]) for k in range(6)] + [("mean", sum(k * p[k] for k in range(6)))]


def batch_queue():
    # Capacity 4; single arrivals with rate 1/2, pairs with rate 1/4 (a pair
    # that does not fit is not admitted); one server with the fixed time 1/2.
    net = Net()
    for n in range(5):
        if n + 1 <= 4:
            net.edge(n, n + 1, Decimal(1) / 2)
        if n + 2 <= 4:
            net.edge(n, n + 2, Decimal(1) / 4)
        if n >= 1:
            net.fires(n, "Serve", Decimal("0.5"), n - 1)
    p = stationary(net)
    return [("p%d" % k, p[k]) for k in range(5)] + [("mean", sum(k * p[k] for k in range(5)))]


def two_phases():
    # P (capacity 3) holds waiting customers, B (capacity 1) the one in the
    # second phase. Arrivals with rates 1/2 and 1/4 add to P while it has
    # room; Phase1 (0.4) moves a customer from P to B when B is empty,
    # Phase2 (0.3) lets the customer in B leave. Markings are (p, b).
    net = Net()
    for p in range(4):
        for b in range(2):
            if p < 3:
                net.edge((p, b), (p + 1, b), Decimal(1) / 2)
                net.edge((p, b), (p + 1, b), Decimal(1) / 4)
            if b == 1:
                net.fires((p, b), "Phase2", Decimal("0.3"), (p, 0))
            elif p >= 1:
                net.fires((p, b), "Phase1", Decimal("0.4"), (p - 1, 1))
    pi = stationary(net)
    return [("idle", pi[(0, 0)]),
            ("inphase2", sum(v for (p, b), v in pi.items() if b == 1)),
            ("full", sum(v for (p, b), v in pi.items() if p == 3)),
            ("waiting", sum(p * v for (p, b), v in pi.items()))]


MD1K = """# M/D/1/5 whose arrivals (rate 1) come from two streams of rates 1/5 and
# 4/5: the same queue as one stream of rate 1. From the chain embedded at
# service completions (a_j = e^-rho rho^j / j! arrivals during a service of
# 0.5, rho = 1/2): P[#P = k] = d_k / (d_0 + rho) for k < 5,
# P[#P = 5] = 1 - 1 / (d_0 + rho). Per-stream throughputs are left out.
"""
BATCH = """# A queue of capacity 4 fed by single arrivals (rate 1/2) and by pairs
# (rate 1/4, not admitted when they do not fit), served in the fixed time
# 1/2: from a marking n >= 1 the chain of the server reaches n + 2 both
# directly and through n + 1. Chain embedded at the starts of services and
# at the arrivals into the empty queue, solved by hand
# (tests/e2e/derive_measures.py); the order of the transitions in the
# description does not matter.
"""
PHASES = """# Two deterministic phases in a row (0.4 then 0.3) fed by two arrival
# streams (rates 1/2 and 1/4) into P (capacity 3); the customer in the
# second phase waits in B (capacity 1) and blocks the first. Chain embedded
# at the starts of the phases and at the arrivals into the empty system,
# solved by hand (tests/e2e/derive_measures.py).
"""

CASES = {
    "dspn-two-arrival-streams-as-one": (MD1K, "1e-12", md1k_queue),
    "dspn-batches-meeting-in-the-chain": (BATCH, "1e-12", batch_queue),
    "dspn-batches-meeting-in-the-chain-written-the-other-way": (BATCH, "1e-12", batch_queue),
    "dspn-two-deterministic-phases-two-streams": (PHASES, "1e-12", two_phases),
}


def measures_text(comment, tolerance, values):
    lines = ["file {MODELDIR}/m.BSresults0", "tolerance " + tolerance]
    lines += ["\\%s %s" % (name, text(value)) for name, value in values]
    return comment + "\n".join(lines) + "\n"


def md1k_by_the_embedded_chain():
    # The same M/D/1/5 queue through the general route must give the closed form.
    net = Net()
    for n in range(6):
        if n < 5:
            net.edge(n, n + 1, 1)
        if n >= 1:
            net.fires(n, "Serve", Decimal("0.5"), n - 1)
    p = stationary(net)
    return [p[k] for k in range(6)]


def main():
    closed = [value for _, value in md1k_queue()[:6]]
    assert all(abs(x - y) < Decimal("1e-30") for x, y in zip(closed, md1k_by_the_embedded_chain()))
    write_or_check({case: (os.path.join(HERE, "cases", case, "measures"),
                           measures_text(comment, tolerance, derive()))
                    for case, (comment, tolerance, derive) in CASES.items()}, "--check" in sys.argv)


if __name__ == "__main__":
    main()
