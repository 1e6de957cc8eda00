"""The Python package against the real mosk-solve: a model, sweeps as a
DataFrame and as plain rows, errors with mosk's report, interrupts and time
limits that leave nothing behind, the installed package and the example of
examples/.

Environment: MOSK_SOLVE, SOURCE_DIR (the source tree), FAKE_MOSK (the
stand-in mosk of tests/frontend)."""
import math
import os
import signal
import subprocess
import sys
import textwrap
import time

import pytest

import mosk

SOURCE_DIR = os.environ["SOURCE_DIR"]
EXAMPLES = os.path.join(SOURCE_DIR, "examples")
FAKE_MOSK = os.environ["FAKE_MOSK"]


@pytest.fixture(autouse=True)
def scratch(tmp_path, monkeypatch):
    """mosk-solve's run directories go to a folder of each test's own."""
    runs = tmp_path / "runs"
    runs.mkdir()
    monkeypatch.setenv("TMPDIR", str(runs))
    monkeypatch.delenv("PLENARHOME", raising=False)
    monkeypatch.delenv("MOSK", raising=False)
    yield runs
    assert os.listdir(runs) == [], "a run directory was left behind"


def mm1k_probability(k, arrival_delay=1.0, capacity=5):
    rho = (1 / arrival_delay) / 2  # the service rate is 2
    return rho ** k / sum(rho ** j for j in range(capacity + 1))


def test_solve_returns_measures_accuracy_markings_and_time():
    result = mosk.solve(os.path.join(EXAMPLES, "mm1k.table"), epsilon=1e-12)
    for k in range(6):
        assert result["p%d" % k] == pytest.approx(mm1k_probability(k), abs=1e-12)
    assert result.tangible_markings == 6
    assert 0 <= result.accuracy < 1e-10
    assert 0 <= result.error_estimate < 1e-9 and result.method
    assert 0 <= result.measures_error_estimate < 1e-9
    assert result.seconds > 0
    assert "p0" in repr(result) and list(result)[0] == "p0"


def test_each_measures_estimated_error_bounds_its_real_error():
    # Stopped early, so that the iteration leaves an error to bound.
    result = mosk.solve(os.path.join(EXAMPLES, "mm1k.table"), epsilon=1e-6, iterative=True)
    for k in range(6):
        name = "p%d" % k
        error = result.measure_errors[name]
        real = abs(result[name] - mm1k_probability(k))
        assert 0 < real <= error["absolute"]
        assert error["relative"] == pytest.approx(error["absolute"] / result[name], rel=1e-5)


def test_a_sweep_is_a_data_frame_with_a_row_per_value():
    pandas = pytest.importorskip("pandas")
    table = mosk.solve(os.path.join(EXAMPLES, "mm1k.table"), set={"arrival": [0.5, 1, 2]})
    assert isinstance(table, pandas.DataFrame)
    assert list(table["arrival"]) == [0.5, 1, 2]
    for _, row in table.iterrows():
        assert row["p0"] == pytest.approx(mm1k_probability(0, row["arrival"]), abs=1e-12)
        assert row["tangible_markings"] == 6 and row["error"] is None


def test_without_pandas_a_sweep_is_a_list_of_dicts(monkeypatch):
    monkeypatch.setitem(sys.modules, "pandas", None)  # import pandas now fails
    rows = mosk.solve(os.path.join(EXAMPLES, "md1k.table"),
                      set={"arrival": "0.5:1:2", "service": [0.3, 0.6]})
    assert [(row["arrival"], row["service"]) for row in rows] == [
        (0.5, 0.3), (0.5, 0.6), (1, 0.3), (1, 0.6)]
    for row in rows:
        assert sum(row["p%d" % k] for k in range(6)) == pytest.approx(1, abs=1e-9)


def test_errors_raise_with_the_report_and_failed_values_are_rows(tmp_path):
    typo = tmp_path / "typo.table"
    typo.write_text(open(os.path.join(EXAMPLES, "mm1k.table")).read()
                    .replace("Exponential(arrival)", "Exponentail(arrival)"))
    with pytest.raises(mosk.MoskError) as caught:
        mosk.solve(typo)
    assert caught.value.status in (250, 251)
    assert "ERROR occured" in caught.value.report
    assert "line 9" in caught.value.message
    rows = mosk.solve(os.path.join(EXAMPLES, "mm1k.table"), set={"service": [0.5, 0]},
                      frame=False)
    assert rows[0]["error"] is None and rows[0]["p0"] == pytest.approx(mm1k_probability(0))
    assert "rejected a value" in rows[1]["error"] and math.isnan(rows[1]["p0"])
    with pytest.raises(mosk.MoskError, match="cannot find mosk-solve"):
        mosk.solve(typo, mosk_solve=str(tmp_path / "nothing"))


def slow_model(tmp_path):
    pids = tmp_path / "pids"
    model = tmp_path / "slow.table"
    model.write_text("Definition :\nFAKE sleep 60\nFAKE pidfile %s\n" % pids)
    return model, pids


def assert_gone(pids):
    deadline = time.time() + 10
    for pid in pids.read_text().split():
        while os.path.exists("/proc/%s" % pid) and time.time() < deadline:
            if open("/proc/%s/stat" % pid).read().split()[2] == "Z":
                break
            time.sleep(0.05)
        alive = os.path.exists("/proc/%s" % pid) and \
            open("/proc/%s/stat" % pid).read().split()[2] != "Z"
        assert not alive, "process %s is still running" % pid


def test_a_time_limit_stops_everything(tmp_path, monkeypatch):
    model, pids = slow_model(tmp_path)
    monkeypatch.setenv("MOSK", FAKE_MOSK)
    # Three seconds: on a busy machine the stand-in takes a second or more to
    # start and note its processes.
    with pytest.raises(mosk.MoskTimeout):
        mosk.solve(model, timeout=3)
    assert_gone(pids)


def test_an_interrupt_leaves_nothing_behind(tmp_path, scratch):
    model, pids = slow_model(tmp_path)
    script = "import mosk; mosk.solve(%r)" % str(model)
    env = dict(os.environ, MOSK=FAKE_MOSK,
               PYTHONPATH=os.pathsep.join([os.path.dirname(os.path.dirname(mosk.__file__))] +
                                          sys.path))
    process = subprocess.Popen([sys.executable, "-c", script], env=env, stderr=subprocess.PIPE,
                               text=True)
    deadline = time.time() + 30
    while not (pids.exists() and pids.read_text().endswith("\n")):
        assert time.time() < deadline, "the stand-in mosk did not start"
        time.sleep(0.05)
    process.send_signal(signal.SIGINT)
    _, err = process.communicate(timeout=60)
    assert "KeyboardInterrupt" in err
    assert_gone(pids)
    assert os.listdir(scratch) == []


def test_pip_installs_the_package_and_it_runs_from_a_clone(tmp_path, monkeypatch):
    target = tmp_path / "site"
    subprocess.run([sys.executable, "-m", "pip", "install", "--quiet", "--no-deps",
                    "--no-build-isolation", "--target", str(target),
                    os.path.join(SOURCE_DIR, "python")], check=True)
    # A clone after `make`: examples/ and build/src/frontend/mosk-solve.
    clone = tmp_path / "clone"
    (clone / "build" / "src" / "frontend").mkdir(parents=True)
    os.symlink(os.environ["MOSK_SOLVE"], clone / "build" / "src" / "frontend" / "mosk-solve")
    os.symlink(EXAMPLES, clone / "examples")
    monkeypatch.delenv("MOSK_SOLVE")
    env = dict(os.environ, PYTHONPATH=str(target),
               PATH=os.pathsep.join(p for p in os.environ["PATH"].split(os.pathsep)
                                    if not os.access(os.path.join(p, "mosk-solve"), os.X_OK)))
    run = subprocess.run([sys.executable, "-c",
                          "import mosk; print(mosk.solve('examples/mm1k.table'))"],
                         cwd=clone, env=env, capture_output=True, text=True)
    assert run.returncode == 0, run.stderr
    assert "p0        0.50793650793650" in run.stdout


def test_the_example_study_runs(tmp_path):
    env = dict(os.environ, PYTHONPATH=os.path.dirname(os.path.dirname(mosk.__file__)))
    run = subprocess.run([sys.executable, os.path.join(EXAMPLES, "python_study.py")],
                         cwd=tmp_path, env=env, capture_output=True, text=True)
    assert run.returncode == 0, run.stderr
    assert "mean queue 0.7390 with 6 tangible markings" in run.stdout
    assert "service 0: the net model rejected a value" in run.stdout
    assert "MoskError: syntax error in the description" in run.stdout
    assert (tmp_path / "md1k-grid.svg").exists()
