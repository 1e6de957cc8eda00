"""What solve() returns: a Result for one model, rows for a sweep."""
import math

# The fields of a row of a sweep besides its settings and measures.
_ROW_SKIPPED = ("pass", "set", "measures", "report")


def _number(value):
    """mosk writes 'nan' or 'inf' for undefined measures: JSON strings."""
    if isinstance(value, str):
        try:
            return float(value)
        except ValueError:
            return value
    return value


class Result:
    """The results of one model: its measures (result["p0"] or
    result.measures), the solver's largest residual (accuracy), its
    estimated relative error of the probabilities (error_estimate) and of
    the measures (measures_error_estimate), each measure's estimated error
    (result.measure_errors["p0"]: {"absolute": ..., "relative": ...}, the
    relative one None for a value of 0), method and
    mode, the number of tangible markings, the time in seconds, and
    everything mosk-solve reported (result.report, the JSON object)."""

    def __init__(self, report):
        self.report = report
        self.measures = {name: _number(value) for name, value in report["measures"].items()}
        self.accuracy = report.get("accuracy")
        self.error_estimate = report.get("error_estimate")
        self.measures_error_estimate = report.get("measures_error_estimate")
        self.measure_errors = report.get("measure_errors", {})
        passes = report.get("passes") or [{}]
        self.method = passes[0].get("method")
        self.tangible_markings = report.get("tangible_markings")
        self.seconds = report.get("seconds")
        self.solver_mode = report.get("solver_mode")
        self.model = report.get("model")

    def __getitem__(self, measure):
        return self.measures[measure]

    def __iter__(self):
        return iter(self.measures)

    def __len__(self):
        return len(self.measures)

    def get(self, measure, default=None):
        return self.measures.get(measure, default)

    def __repr__(self):
        width = max([len(name) for name in self.measures] + [7])
        lines = ["%s: %s tangible markings, estimated error %s, residual %s, %.3g s" % (
            self.model, self.tangible_markings, self.error_estimate, self.accuracy,
            self.seconds or 0.0)]
        lines += ["  %-*s  %r" % (width, name, value) for name, value in self.measures.items()]
        return "\n".join(lines)


def sweep_rows(report):
    """One dict per row: the settings, the measures, then the row's figures
    (tangible_markings, accuracy, seconds, error, ...)."""
    rows = []
    for row in report["passes"]:
        entry = dict(row["set"])
        entry.update({name: _number(value) for name, value in row.get("measures", {}).items()})
        for key, value in row.items():
            if key not in _ROW_SKIPPED:
                entry[key] = value
        rows.append(entry)
    # Failed rows lack the measures: give them NaN, so every row has every column.
    names = list(report.get("measures", {}))
    for entry in rows:
        for name in names:
            entry.setdefault(name, math.nan)
    return rows


def sweep_table(report, frame):
    """A pandas DataFrame of the rows when `frame` and pandas allow it, else
    the list of dicts."""
    rows = sweep_rows(report)
    if not frame:
        return rows
    try:
        import pandas
    except ImportError:
        return rows
    return pandas.DataFrame(rows)
