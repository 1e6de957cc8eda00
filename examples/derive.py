#!/usr/bin/env python3
"""Derives the expected measures of the examples from closed forms and from
Markov chains written down by hand (independently of the engine), and writes
them as <model>.expected in the format of a results file.

    python3 examples/derive.py          # rewrite the .expected files
    python3 examples/derive.py --check  # fail if a file would change

Numbers are computed with 40-digit decimals (rationals where the chain is
small) and written with 16 significant digits, as mosk writes them."""
import itertools
import os
import sys
from decimal import Decimal, getcontext
from fractions import Fraction

getcontext().prec = 40
HERE = os.path.dirname(os.path.abspath(__file__))


def text(value):
    if isinstance(value, Fraction):
        value = Decimal(value.numerator) / Decimal(value.denominator)
    return "%.16g" % float(value)


def solve_stationary(states, rates):
    """Exact stationary vector of a CTMC: states is a list, rates maps
    (from, to) to a Fraction rate (self-loops are ignored)."""
    index = {s: i for i, s in enumerate(states)}
    n = len(states)
    # Balance equations pi Q = 0 with the last one replaced by sum pi = 1.
    q = [[Fraction(0)] * n for _ in range(n)]
    for (a, b), r in rates.items():
        if a == b:
            continue
        q[index[a]][index[b]] += r
        q[index[a]][index[a]] -= r
    rows = [[q[i][j] for i in range(n)] + [Fraction(0)] for j in range(n)]
    rows[-1] = [Fraction(1)] * n + [Fraction(1)]
    x = solve_rows(rows)
    return {s: x[index[s]] for s in states}


def solve_rows(rows):
    """The solution of the n x n system whose rows carry their right-hand
    side as an (n+1)-th entry, by Gauss-Jordan elimination with the largest
    pivot of each column."""
    n = len(rows)
    for col in range(n):
        pivot = max(range(col, n), key=lambda r: abs(rows[r][col]))
        rows[col], rows[pivot] = rows[pivot], rows[col]
        for r in range(n):
            if r != col and rows[r][col] != 0:
                f = rows[r][col] / rows[col][col]
                rows[r] = [x - f * y for x, y in zip(rows[r], rows[col])]
    return [rows[i][n] / rows[i][i] for i in range(n)]


def mm1k(arrival_rate, service_rate, capacity):
    rho = Fraction(arrival_rate) / Fraction(service_rate)
    weights = [rho ** k for k in range(capacity + 1)]
    total = sum(weights)
    return [w / total for w in weights]


def mg1k(arrival_rate, mean_service, capacity, arrivals_during_service):
    """Time-average queue-length distribution of the M/G/1/K queue from the
    chain embedded at service completions: a[k] is the probability of k
    arrivals during one service; the chain on 0..K-1 counts the customers
    left behind; p_n = d_n / (d_0 + rho) for n < K, p_K = 1 - 1/(d_0 + rho)."""
    K = capacity
    a = [arrivals_during_service(k) for k in range(K - 1)]
    a.append(1 - sum(a))  # K-1 or more arrivals: the queue is full
    n = K
    # transition matrix of the embedded chain
    P = [[Decimal(0)] * n for _ in range(n)]
    for i in range(n):
        start = max(i - 1, 0)  # an empty queue waits for the next arrival
        for k in range(K):
            j = min(start + k, K - 1)
            P[i][j] += a[k] if k < K - 1 else 0
        P[i][K - 1] += 1 - sum(P[i][j] for j in range(K - 1)) - P[i][K - 1]
    # solve d P = d, sum d = 1
    rows = [[P[i][j] - (1 if i == j else 0) for i in range(n)] + [Decimal(0)] for j in range(n)]
    rows[-1] = [Decimal(1)] * n + [Decimal(1)]
    d = solve_rows(rows)
    rho = Decimal(arrival_rate) * Decimal(mean_service)
    p = [d[i] / (d[0] + rho) for i in range(n)]
    p.append(1 - 1 / (d[0] + rho))
    return p


def poisson(k, x):
    x = Decimal(x)
    fact = 1
    for i in range(2, k + 1):
        fact *= i
    return (-x).exp() * x ** k / fact


def poisson_at_least(m, x):
    return 1 - sum(poisson(j, x) for j in range(m))


def queue_measures(p, capacity, arrival_rate):
    values = [("p%d" % k, p[k]) for k in range(capacity + 1)]
    values.append(("mean", sum(k * p[k] for k in range(capacity + 1))))
    values.append(("arrivals", Decimal(arrival_rate) * (1 - Decimal(p[capacity]))
                   if not isinstance(p[capacity], Fraction)
                   else Fraction(arrival_rate) * (1 - p[capacity])))
    return values


def example_mm1k():
    p = mm1k(1, 2, 5)
    values = queue_measures(p, 5, 1)
    values.append(("services", 2 * (1 - p[0])))
    return values


def example_md1k():
    # arrivals with rate 1, a fixed service time of 0.5, room for five
    return queue_measures(mg1k(1, Decimal("0.5"), 5, lambda k: poisson(k, Decimal("0.5"))), 5, 1)


def example_mu1k():
    # arrivals with rate 1, service uniform on [0.25, 0.75], room for five:
    # a_k = 1/(b-a) * integral of e^-t t^k/k! over [a,b]
    #     = (P[Poisson(b) >= k+1] - P[Poisson(a) >= k+1]) / (b - a)
    low, high = Decimal("0.25"), Decimal("0.75")

    def a(k):
        return (poisson_at_least(k + 1, high) - poisson_at_least(k + 1, low)) / (high - low)

    return queue_measures(mg1k(1, (low + high) / 2, 5, a), 5, 1)


def example_colours():
    # two classes in one place of capacity 3, each with its own server:
    # pi(a, b) is proportional to (1/2)^a (1/4)^b on a + b <= 3
    states = [(a, b) for a in range(4) for b in range(4) if a + b <= 3]
    weight = {s: Fraction(1, 2) ** s[0] * Fraction(1, 4) ** s[1] for s in states}
    total = sum(weight.values())
    pi = {s: w / total for s, w in weight.items()}
    full = sum(pi[s] for s in states if sum(s) == 3)
    return [("full", full),
            ("meanA", sum(s[0] * pi[s] for s in states)),
            ("busyB", sum(pi[s] for s in states if s[1] > 0)),
            ("meanAll", sum(sum(s) * pi[s] for s in states)),
            ("onlyA", sum(pi[s] for s in states if s[0] > 0 and s[1] == 0)),
            ("arrivalsA", 1 * (1 - full))]


def example_hierarchy(service_mean=Fraction(2, 5)):
    p = mm1k(1, 1 / service_mean, 4)
    return [("idle", p[0]),
            ("mean", sum(k * p[k] for k in range(5))),
            ("arrivals", 1 - p[4]),
            ("Srv\\busy", 1 - p[0]),
            ("Srv\\services", (1 / service_mean) * (1 - p[0]))]


def example_kanban():
    # Stage 1 has two cards, stage 2 two; a tangible state is
    # (queue1, done1, cards2, queue2, done2) with queue1 + done1 = 2,
    # cards2 + queue2 + done2 = 2 and never done1 > 0 with cards2 > 0
    # (the immediate Move would fire).
    m1, m2, demand = Fraction(2), Fraction(5, 2), Fraction(1)
    good, redo = Fraction(9, 10), Fraction(1, 10)

    def settle(q1, d1, c2, q2, d2):
        while d1 > 0 and c2 > 0:  # Move, then Enter1 at once
            d1, c2, q2, q1 = d1 - 1, c2 - 1, q2 + 1, q1 + 1
        return (q1, d1, c2, q2, d2)

    states = [s for s in itertools.product(range(3), repeat=5)
              if s[0] + s[1] == 2 and s[2] + s[3] + s[4] == 2 and not (s[1] > 0 and s[2] > 0)]
    rates = {}

    def add(a, b, r):
        rates[(a, b)] = rates.get((a, b), 0) + r

    for s in states:
        q1, d1, c2, q2, d2 = s
        if q1 > 0:
            add(s, settle(q1 - 1, d1 + 1, c2, q2, d2), m1 * good)
            add(s, s, m1 * redo)  # rework returns the part to the queue
        if q2 > 0:
            add(s, (q1, d1, c2, q2 - 1, d2 + 1), m2)
        if d2 > 0:
            add(s, settle(q1, d1, c2 + 1, q2, d2 - 1), demand)
    pi = solve_stationary(states, rates)
    return [("wip1", sum(s[0] * p for s, p in pi.items())),
            ("blocked", sum(s[1] * p for s, p in pi.items())),
            ("busy1", sum(p for s, p in pi.items() if s[0] > 0)),
            ("stockout", sum(p for s, p in pi.items() if s[4] == 0)),
            ("served", demand * sum(p for s, p in pi.items() if s[4] > 0))]


def example_multiserver():
    # M/M/2/5: lambda = 1, mu = 2/3 per server; n customers keep min(n, 2)
    # servers busy, so p_n is proportional to the product of
    # lambda / (mu min(k, 2)) over k = 1..n.
    lam, mu, servers, room = Fraction(1), Fraction(2, 3), 2, 5
    weights = [Fraction(1)]
    for n in range(1, room + 1):
        weights.append(weights[-1] * lam / (mu * min(n, servers)))
    p = [w / sum(weights) for w in weights]
    busy = sum(min(n, servers) * p[n] for n in range(room + 1))
    return [("empty", p[0]),
            ("full", p[room]),
            ("mean", sum(n * p[n] for n in range(room + 1))),
            ("queue", sum(max(n - servers, 0) * p[n] for n in range(room + 1))),
            ("busy", busy),
            ("wait", sum(p[n] for n in range(servers + 1, room + 1))),
            ("served", mu * busy)]


def example_breakdown():
    # (customers, server up): arrivals 1 (room for 4), service 2 while up,
    # failures 1/10 while up, repairs 1/2.
    lam, mu, fail, repair = Fraction(1), Fraction(2), Fraction(1, 10), Fraction(1, 2)
    states = [(n, up) for n in range(5) for up in (1, 0)]
    rates = {}
    for n, up in states:
        if n < 4:
            rates[((n, up), (n + 1, up))] = lam
        if up and n > 0:
            rates[((n, up), (n - 1, up))] = mu
        rates[((n, up), (n, 1 - up))] = fail if up else repair
    pi = solve_stationary(states, rates)
    return [("available", sum(p for (n, up), p in pi.items() if up)),
            ("mean", sum(n * p for (n, up), p in pi.items())),
            ("full", sum(p for (n, up), p in pi.items() if n == 4)),
            ("stalled", sum(p for (n, up), p in pi.items() if n > 0 and not up)),
            ("served", mu * sum(p for (n, up), p in pi.items() if n > 0 and up))]


def example_timeout():
    # A cycle: thinking (mean 2), then waiting for a reply (rate 1) at most
    # D = 1.5. The wait lasts min(X, D) with mean (1 - e^(-D)) / 1, and a
    # reply comes in time with probability 1 - e^(-D); time averages are
    # means per cycle over the mean cycle length.
    think, reply_rate, timeout = Decimal(2), Decimal(1), Decimal("1.5")
    answered = 1 - (-reply_rate * timeout).exp()
    wait = answered / reply_rate
    cycle = think + wait
    return [("waiting", wait / cycle),
            ("requests", 1 / cycle),
            ("replies", answered / cycle),
            ("timeouts", (1 - answered) / cycle),
            ("answered", answered)]


def example_priority():
    # (urgent, normal) jobs, room for 2 each: arrivals 1/4 and 1/2, an urgent
    # job is served (rate 1) before any normal one (rate 2), which it
    # interrupts; exponential service resumes as if new.
    urgent_in, normal_in = Fraction(1, 4), Fraction(1, 2)
    urgent_out, normal_out = Fraction(1), Fraction(2)
    states = [(u, n) for u in range(3) for n in range(3)]
    rates = {}
    for u, n in states:
        if u < 2:
            rates[((u, n), (u + 1, n))] = urgent_in
        if n < 2:
            rates[((u, n), (u, n + 1))] = normal_in
        if u > 0:
            rates[((u, n), (u - 1, n))] = urgent_out
        elif n > 0:
            rates[((u, n), (u, n - 1))] = normal_out
    pi = solve_stationary(states, rates)
    busy_normal = sum(p for (u, n), p in pi.items() if u == 0 and n > 0)
    return [("busyUrgent", sum(p for (u, n), p in pi.items() if u > 0)),
            ("busyNormal", busy_normal),
            ("meanUrgent", sum(u * p for (u, n), p in pi.items())),
            ("meanNormal", sum(n * p for (u, n), p in pi.items())),
            ("fullNormal", sum(p for (u, n), p in pi.items() if n == 2)),
            ("servedNormal", normal_out * busy_normal)]


def example_polling():
    # (queue1, queue2, server) with the server at queue 1 or 2 or walking to
    # one of them; room for 2 in each queue, arrivals 1/2 and 1/4, service 2,
    # walking 4. The server leaves an empty queue at once (an immediate
    # transition), so "at 1 with queue 1 empty" is no state.
    arrival = {1: Fraction(1, 2), 2: Fraction(1, 4)}
    service, walk = Fraction(2), Fraction(4)

    def settle(q1, q2, where):
        if where == "at1" and q1 == 0:
            where = "to2"
        if where == "at2" and q2 == 0:
            where = "to1"
        return (q1, q2, where)

    states = [s for s in itertools.product(range(3), range(3), ("at1", "to2", "at2", "to1"))
              if settle(*s) == s]
    rates = {}

    def add(a, b, r):
        rates[(a, b)] = rates.get((a, b), 0) + r

    for s in states:
        q1, q2, where = s
        if q1 < 2:
            add(s, settle(q1 + 1, q2, where), arrival[1])
        if q2 < 2:
            add(s, settle(q1, q2 + 1, where), arrival[2])
        if where == "at1":
            add(s, settle(q1 - 1, q2, where), service)
        if where == "at2":
            add(s, settle(q1, q2 - 1, where), service)
        if where == "to2":
            add(s, settle(q1, q2, "at2"), walk)
        if where == "to1":
            add(s, settle(q1, q2, "at1"), walk)
    pi = solve_stationary(states, rates)
    return [("walking", sum(p for s, p in pi.items() if s[2] in ("to1", "to2"))),
            ("mean1", sum(s[0] * p for s, p in pi.items())),
            ("mean2", sum(s[1] * p for s, p in pi.items())),
            ("full1", sum(p for s, p in pi.items() if s[0] == 2)),
            ("served1", service * sum(p for s, p in pi.items() if s[2] == "at1")),
            ("served2", service * sum(p for s, p in pi.items() if s[2] == "at2"))]


EXAMPLES = {
    "mm1k": example_mm1k,
    "md1k": example_md1k,
    "mu1k": example_mu1k,
    "colours": example_colours,
    "hierarchy": example_hierarchy,
    "kanban": example_kanban,
    "multiserver": example_multiserver,
    "breakdown": example_breakdown,
    "timeout": example_timeout,
    "priority": example_priority,
    "polling": example_polling,
}


def expected_text(values):
    return "".join("\\%s %s\n" % (name, text(value)) for name, value in values) + "*#END#*\n"


def write_or_check(wanted, check):
    """wanted maps a name to (path, text): each file is rewritten when its
    text differs, or with check the names of the differing ones end the
    program."""
    stale = []
    for name, (path, text) in wanted.items():
        current = open(path).read() if os.path.exists(path) else None
        if current != text:
            stale.append(name)
            if not check:
                os.makedirs(os.path.dirname(path), exist_ok=True)
                with open(path, "w") as out:
                    out.write(text)
    if check and stale:
        sys.exit("out of date: " + ", ".join(stale))


def main():
    # The closed forms agree with each other: M/G/1/K with exponential
    # service is M/M/1/K.
    mm = mm1k(1, 2, 5)
    mg = mg1k(1, Decimal("0.5"), 5, lambda k: Decimal(2) / 3 * (Decimal(1) / 3) ** k)
    assert all(abs(Decimal(x.numerator) / x.denominator - y) < Decimal("1e-30") for x, y in zip(mm, mg))
    write_or_check({name: (os.path.join(HERE, name + ".expected"), expected_text(derive()))
                    for name, derive in EXAMPLES.items()}, "--check" in sys.argv)


if __name__ == "__main__":
    main()
