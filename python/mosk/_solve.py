"""solve(): runs mosk-solve and reads its JSON report. mosk-solve stops mosk
and its workers and removes its run directories when it is interrupted, so
an interrupt or a time limit here is passed on to it as a signal (never a
kill), and solve() waits until it has cleaned up."""
import json
import signal
import subprocess

from ._command import command_line, find_mosk_solve
from ._results import Result, sweep_table

# How long mosk-solve may take to clean up after a signal.
_CLEANUP_SECONDS = 30
_TIMEOUT_STATUS = 124


class MoskError(Exception):
    """A run that failed: `message` is mosk-solve's summary, `report` all it
    said on standard error (mosk's error report included), `status` its exit
    status."""

    def __init__(self, message, report="", status=None):
        super().__init__(message)
        self.message = message
        self.report = report
        self.status = status


class MoskTimeout(MoskError, TimeoutError):
    """The time limit ran out."""


def _last_line(text):
    lines = [line for line in text.splitlines() if line.strip()]
    return lines[-1] if lines else ""


def _stop(process, sig):
    """Asks mosk-solve to stop and waits for its clean-up."""
    try:
        process.send_signal(sig)
        return process.communicate(timeout=_CLEANUP_SECONDS)
    except subprocess.TimeoutExpired:
        process.kill()
        return process.communicate()


def _run(args, timeout):
    process = subprocess.Popen(args, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    try:
        # mosk-solve limits each mosk run itself; this bounds the whole call.
        out, err = process.communicate(timeout=None if timeout is None else timeout + 10)
    except subprocess.TimeoutExpired:
        _stop(process, signal.SIGTERM)
        raise MoskTimeout("mosk-solve did not finish within %g s and was stopped" % timeout,
                          status=_TIMEOUT_STATUS)
    except BaseException:  # KeyboardInterrupt above all
        _stop(process, signal.SIGINT)
        raise
    return process.returncode, out, err


def solve(model, set=None, epsilon=None, timeout=None, iterative=False, max_iterations=None,
          jobs=None, plot=None, plot_measures=None, frame=True, mosk_solve=None, args=()):
    """Analyses the description `model` (a .table file).

    set: {name: value or list of values} for definitions of the
        description's Definition section (a value may be a range text such
        as "0.1:2:20"); several names span a grid.
    epsilon, max_iterations, iterative: the solver's precision, iteration
        limit and mode. timeout: seconds for each mosk run. jobs: runs of a
        sweep at once. plot, plot_measures: draw the sweep into this file.
    frame: return a sweep as a pandas DataFrame when pandas is installed
        (else, and with frame=False, as a list of dicts).
    mosk_solve: the mosk-solve to run (default: see find_mosk_solve).
    args: further mosk-solve options.

    Returns a Result for one model, the rows of a sweep when a setting has
    several values. Raises MoskError (MoskTimeout for the time limit) when
    the run fails; in a sweep a failed value is a row with its error."""
    program = find_mosk_solve(mosk_solve)
    if program is None:
        raise MoskError("cannot find mosk-solve: give mosk_solve=, set MOSK_SOLVE, put it on "
                        "PATH, or run from the source tree after building it")
    argv = command_line(program, model, set, epsilon, timeout, iterative, max_iterations, jobs,
                        plot, plot_measures, args)
    status, out, err = _run(argv, timeout)
    try:
        report = json.loads(out) if out.strip() else None
    except ValueError:
        report = None
    if report is None:
        error = MoskTimeout if status == _TIMEOUT_STATUS else MoskError
        raise error(_last_line(err).replace("mosk-solve: ", "", 1) or
                    "mosk-solve ended with status %s" % status, err, status)
    swept = any(len(values) > 1 for values in _values_per_setting(report))
    if swept:
        return sweep_table(report, frame)
    if status != 0:
        raise MoskError(_last_line(err).replace("mosk-solve: ", "", 1), err, status)
    return Result(report)


def _values_per_setting(report):
    """The distinct values each setting took over the rows."""
    names = {}
    for row in report.get("passes", []):
        for name, value in row.get("set", {}).items():
            names.setdefault(name, []).append(value)
    return [sorted(set(values), key=str) for values in names.values()]
