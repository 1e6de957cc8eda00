"""The mosk-solve command line for a call of solve(), and where mosk-solve
is found: the path given, $MOSK_SOLVE, PATH, then the build tree of the
current directory or one above it (build/src/frontend/mosk-solve)."""
import os
import shutil

BUILD_TREE_PATH = os.path.join("build", "src", "frontend", "mosk-solve")


def find_mosk_solve(explicit=None):
    """The mosk-solve to run, or None when there is none."""
    for candidate in (explicit, os.environ.get("MOSK_SOLVE")):
        if candidate:
            return candidate if os.access(candidate, os.X_OK) else None
    on_path = shutil.which("mosk-solve")
    if on_path:
        return on_path
    directory = os.getcwd()
    while True:
        candidate = os.path.join(directory, BUILD_TREE_PATH)
        if os.access(candidate, os.X_OK):
            return candidate
        parent = os.path.dirname(directory)
        if parent == directory:
            return None
        directory = parent


def _value_text(value):
    if isinstance(value, bool):
        raise TypeError("a --set value must be a number, not %r" % value)
    if isinstance(value, (int, float)):
        return repr(value)
    if isinstance(value, str):
        return value
    raise TypeError("a --set value must be a number or a text such as '0.1:2:20', not %r"
                    % (value,))


def set_argument(name, values):
    """'NAME=v1,v2' for one entry of solve(set=...): a number, a text (a
    list or a range 'FROM:TO:COUNT'), or a list of them."""
    if isinstance(values, (list, tuple, range)) or type(values).__name__ == "ndarray":
        texts = [_value_text(v.item() if hasattr(v, "item") else v) for v in values]
    else:
        texts = [_value_text(values)]
    if not texts:
        raise ValueError("--set %s: no values" % name)
    return "%s=%s" % (name, ",".join(texts))


def command_line(program, model, settings, epsilon, timeout, iterative, max_iterations, jobs,
                 plot, plot_measures, extra):
    args = [program, "--format", "json", "--no-progress"]
    if epsilon is not None:
        args += ["-E", repr(float(epsilon))]
    if max_iterations is not None:
        args += ["-M", str(int(max_iterations))]
    if iterative:
        args.append("--iterative")
    if timeout is not None:
        args += ["--timeout", repr(float(timeout))]
    if jobs is not None:
        args += ["--jobs", str(int(jobs))]
    for name, values in (settings or {}).items():
        args += ["--set", set_argument(name, values)]
    if plot is not None:
        args += ["--plot", os.fspath(plot)]
    if plot_measures:
        args += ["--plot-measures", ",".join(plot_measures)]
    args += list(extra)
    args += ["--", os.fspath(model)]
    return args
