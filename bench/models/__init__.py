"""Scalable nets written in the engine's description language.

Each generator returns the description text of one size; MODELS names them
with their sizes and, where known, the number of tangible markings.
"""
from .kanban import kanban
from .fms import fms
from .colours import colours
from .dspn import dspn

# name -> (generator, {size: tangible markings or None}, sizes run by default).
# The coloured family's counts are those the generation gave before any
# speed work (its graph listings are checked too); the deterministic family
# has C(N + 6, 6) tangible markings (N customers over seven stations), the
# markings after each deterministic firing being intermediate ones.
MODELS = {
    "kanban": (kanban, {1: 160, 2: 4600, 3: 58400, 4: 454475, 5: 2546432, 6: 11261376}, (1, 2, 3, 4)),
    "fms": (fms, {1: 54, 2: 810, 3: 6520, 4: 35910}, (1, 2, 3, 4)),
    "colours": (colours, {2: 140, 4: 1032, 6: 3684}, (2, 4, 6)),
    "dspn": (dspn, {4: 210, 8: 3003, 12: 18564}, (4, 8, 12)),
}
