"""Scalable nets written in the engine's description language.

Each generator returns the description text of one size; MODELS names them
with the number of tangible markings of a size, where known, and the sizes
a benchmark runs.
"""
from .kanban import kanban
from .fms import fms
from .colours import colours
from .dspn import dspn
from .ring import ring
from .servers import servers
from .counter import counter

KANBAN = {1: 160, 2: 4600, 3: 58400, 4: 454475, 5: 2546432, 6: 11261376, 7: 41644800}
# The classic counts of the flexible manufacturing system.
FMS = {1: 54, 2: 810, 3: 6520, 4: 35910, 5: 152712, 6: 537768, 7: 1639440}
# The coloured family's counts are those the generation gave before any
# speed work (its graph listings are checked too); those of N=24 and 32 are
# what 23c6974 gave, before generation had a fast path for this net.
COLOURS = {2: 140, 4: 1032, 6: 3684, 24: 463152, 32: 1355840}


def binomial(n, k):
    result = 1
    for i in range(1, k + 1):
        result = result * (n - k + i) // i
    return result


# The sizes from which a model's runs measure the generation alone (the
# benchmark stops them before the solve): the deterministic family's chain
# grows dense (its rows of N=16 hold 186 million entries, more than 7 minutes
# to solve), and the coloured net's is not solved in 100,000 sweeps from
# N=12 on. Their large sizes are there for the generation's rate: each takes
# more than a second of CPU to generate.
GENERATION_ONLY = {"colours": 12, "dspn": 16}

# name -> (generator, tangible markings of a size (None: unknown),
#          {size: the least size level (make bench's BENCH_MAX) that runs it}).
# The deterministic family has C(N + 6, 6) tangible markings (N customers
# over seven stations), the markings after each deterministic firing being
# intermediate ones.
MODELS = {
    "kanban": (kanban, KANBAN.get, {n: n for n in KANBAN}),
    "fms": (fms, FMS.get, {n: n for n in FMS}),
    "colours": (colours, COLOURS.get, {2: 0, 4: 0, 6: 0, 32: 4}),
    "dspn": (dspn, lambda n: binomial(n + 6, 6), {1: 0, 4: 0, 8: 0, 12: 0, 28: 4}),
    "ring": (ring, lambda n: n, {1000: 0, 30000: 5}),
    "servers": (servers, lambda n: n + 1, {2000: 0, 8000: 0, 65535: 5}),
    "counter": (counter, lambda n: n * n, {100: 0, 1000: 0}),
}
