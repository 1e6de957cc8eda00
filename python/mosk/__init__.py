"""Steady-state analysis of stochastic Petri nets with mosk, from Python.

    import mosk
    result = mosk.solve("examples/mm1k.table")
    result["p0"], result.accuracy, result.tangible_markings
    table = mosk.solve("examples/md1k.table", set={"arrival": [0.5, 1, 2]})

solve() runs the command mosk-solve with --format json, so what it returns
is what mosk-solve reports; failures raise MoskError with mosk's report."""
from ._command import find_mosk_solve
from ._results import Result
from ._solve import MoskError, MoskTimeout, solve

__version__ = "0.1.0"
__all__ = ["solve", "Result", "MoskError", "MoskTimeout", "find_mosk_solve"]
