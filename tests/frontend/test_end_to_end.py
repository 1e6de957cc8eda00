#!/usr/bin/env python3
"""mosk-solve with the real mosk, run as a user would: sweeps against
separate runs, a typo in a description, and the installed commands. (Missing
files, unusable directories and interrupts are tests against a stand-in
mosk.)

Environment: MOSK_SOLVE, BUILD_DIR (the build tree), EXAMPLES (the examples
folder)."""
import json
import os
import re
import shutil
import subprocess
import unittest

from scratch import ScratchTest, read

MOSK_SOLVE = os.environ["MOSK_SOLVE"]
BUILD_DIR = os.environ["BUILD_DIR"]
EXAMPLES = os.environ["EXAMPLES"]


class EndToEnd(ScratchTest):
    def solve(self, *args, program=MOSK_SOLVE, cwd=None):
        return subprocess.run([program, "--timeout", "240", *args], capture_output=True,
                              text=True, env=self.env(), cwd=cwd)

    def solved(self, *args, **kwargs):
        run = self.solve(*args, **kwargs)
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertNoRunDirectory()
        return run

    def variant(self, name, old, new, example="hierarchy", **more):
        path = os.path.join(self.work, name)
        text = read(os.path.join(EXAMPLES, example + ".table"))
        for was, now in [(old, new)] + list(more.get("also", [])):
            self.assertIn(was, text)
            text = text.replace(was, now)
        with open(path, "w") as out:
            out.write(text)
        return path

    def assertRowsMatchSeparateRuns(self, example, settings, definitions):
        """Runs the sweep `settings` of `example` and, for every row, the
        example with `definitions` (name -> line) set to the row's values."""
        args = [a for name, values in settings for a in ("--set", "%s=%s" % (name, values))]
        sweep = json.loads(self.solved("--format", "json", *args,
                                       os.path.join(EXAMPLES, example + ".table")).stdout)
        for row in sweep["passes"]:
            self.assertIsNone(row["error"])
            changes = [(definitions[name], "\\%s = %r" % (name, value))
                       for name, value in row["set"].items()]
            separate = self.variant("row%d.table" % row["pass"], *changes[0], example=example,
                                    also=changes[1:])
            alone = json.loads(self.solved("--format", "json", separate).stdout)
            self.assertEqual(alone["tangible_markings"], row["tangible_markings"])
            for name, value in alone["measures"].items():
                self.assertAlmostEqual(row["measures"][name], value,
                                       delta=1e-9 * max(1, abs(value)),
                                       msg="%s with %s" % (name, row["set"]))
        return sweep

    def test_a_deterministic_delay_sweep_matches_separate_runs(self):
        sweep = self.assertRowsMatchSeparateRuns(
            "md1k", [("service", "0.25,0.5,0.75")], {"service": "\\service = 0.5"})
        self.assertEqual(sweep["runs"], 3)

    def test_an_arrival_rate_sweep_of_a_flat_net_matches_the_closed_form(self):
        sweep = self.assertRowsMatchSeparateRuns(
            "mm1k", [("arrival", "0.5:2:4")], {"arrival": "\\arrival = 1.0"})
        self.assertEqual([row["set"]["arrival"] for row in sweep["passes"]], [0.5, 1, 1.5, 2])
        for row in sweep["passes"]:
            rho = (1 / row["set"]["arrival"]) / 2  # arrival and service rates 1/delay
            norm = sum(rho ** k for k in range(6))
            for k in range(6):
                self.assertAlmostEqual(row["measures"]["p%d" % k], rho ** k / norm, delta=1e-12)

    def test_a_two_parameter_grid_matches_separate_runs(self):
        sweep = self.assertRowsMatchSeparateRuns(
            "md1k", [("arrival", "0.5,2"), ("service", "0.3,0.6")],
            {"arrival": "\\arrival = 1.0", "service": "\\service = 0.5"})
        self.assertEqual([tuple(row["set"].values()) for row in sweep["passes"]],
                         [(0.5, 0.3), (0.5, 0.6), (2, 0.3), (2, 0.6)])

    def test_a_capacity_sweep_changes_the_graph(self):
        table = self.variant("capacity.table", "\\arrival = 1.0", "\\arrival = 1.0\n| \\K = 5",
                             example="mm1k", also=[("P ; 5 ;", "P ; K ;")])
        sweep = json.loads(self.solved("--format", "json", "--set", "K=2,7", table).stdout)
        for row, capacity in zip(sweep["passes"], (2, 7)):
            self.assertEqual(row["tangible_markings"], capacity + 1)
            norm = sum(0.5 ** k for k in range(capacity + 1))
            self.assertAlmostEqual(row["measures"]["p0"], 1 / norm, delta=1e-12)

    def test_the_measures_error_estimate_bounds_their_real_error(self):
        # M/M/1/40 with rho = 1/2: plain, conditional and composed measures
        # against their closed forms, at precisions coarse enough that the
        # iteration leaves a real error to bound. The worst is the tail's
        # conditional probability, whose bound comes within 10x.
        table = self.variant("bounds.table", "P ; 5 ;", "P ; 40 ;", example="mm1k",
                             also=[("| services = TP[ Serve ]",
                                    "| services = TP[ Serve ]\n"
                                    "| full_if_busy = P[ #P = 40 IF #P > 0 ]\n"
                                    "| queue_if_busy = E[ #P IF #P > 0 ]\n"
                                    "| response = E[ #P ] / TP[ Arrive ]")])
        pi = [0.5 ** k for k in range(41)]
        pi = [p / sum(pi) for p in pi]
        mean = sum(k * p for k, p in enumerate(pi))
        exact = {"p0": pi[0], "p3": pi[3], "mean": mean, "arrivals": 1 - pi[40],
                 "services": 2 * (1 - pi[0]), "full_if_busy": pi[40] / (1 - pi[0]),
                 "queue_if_busy": mean / (1 - pi[0]), "response": mean / (1 - pi[40])}
        for epsilon in ("1e-4", "1e-7"):
            run = json.loads(self.solved("--iterative", "-E", epsilon, "--format", "json",
                                         table).stdout)
            estimate = run["measures_error_estimate"]
            real = max(abs(run["measures"][name] - value) / value for name, value in exact.items())
            self.assertGreater(real, 0.0)
            self.assertLessEqual(real, estimate, "%s: %s" % (epsilon, run["measures"]))
            self.assertLessEqual(estimate, 10 * real)
            # Each measure's own estimate bounds its own error.
            for name, value in exact.items():
                error = run["measure_errors"][name]["absolute"]
                self.assertLessEqual(abs(run["measures"][name] - value), error, name)

    def test_a_definition_used_only_as_a_sub_page_delay_is_swept_over_one_graph(self):
        sweep = self.assertRowsMatchSeparateRuns(
            "hierarchy", [("service", "0.25,0.5")], {"service": "\\service = 0.4"})
        self.assertEqual(sweep["runs"], 1)

    def test_a_sweep_matches_separate_runs(self):
        table = os.path.join(EXAMPLES, "hierarchy.table")
        self.solved(table)
        sweep = json.loads(self.solved("--format", "json", "--set", "Srv/Serve=0.25,0.4,0.5",
                                       table).stdout)
        self.assertEqual(len(sweep["passes"]), 3)
        rows = self.solved("--set", "Srv/Serve=0.25,0.4,0.5", table).stdout.split("\n\n")[0]
        rows = rows.splitlines()
        self.assertEqual(len(rows), 4)
        for pass_, mean in zip(sweep["passes"], ("0.25", "0.4", "0.5")):
            separate = self.variant("service%s.table" % mean, "\\service = 0.4",
                                    "\\service = %s" % mean)
            alone = json.loads(self.solved("--format", "json", separate).stdout)
            for name, value in alone["measures"].items():
                self.assertAlmostEqual(pass_["measures"][name], value, delta=1e-9 * max(1, abs(value)),
                                       msg="%s with mean delay %s" % (name, mean))

    def test_a_typo_shows_the_error_report_and_a_summary(self):
        table = self.variant("typo.table", "Exponential(arrival)", "Exponentail(arrival)")
        run = self.solve(table)
        self.assertIn(run.returncode, (250, 251), run.stderr)
        self.assertEqual(run.stdout, "")
        self.assertIn("\nERROR occured\n", run.stderr)
        self.assertRegex(run.stderr, r"line\t\t : 9\n")
        last = run.stderr.rstrip("\n").splitlines()[-1]
        self.assertRegex(last, r"^mosk-solve: (syntax|lexical) error in the description at line 9 ")
        self.assertNoRunDirectory()

    def test_the_installed_commands_work_from_anywhere(self):
        prefix = os.path.join(self.work, "prefix")
        subprocess.run(["cmake", "--install", BUILD_DIR, "--prefix", prefix],
                       check=True, capture_output=True)
        for path in ("bin/mosk", "bin/mosk-solve"):
            self.assertTrue(os.access(os.path.join(prefix, path), os.X_OK), path)
        self.assertTrue(os.path.isdir(os.path.join(prefix, "lib/mosk/Pendra/scripts")))
        for worker in ("kiln_da", "ekiln"):
            self.assertTrue(os.access(os.path.join(prefix, "lib/mosk/Pendra/bin", worker), os.X_OK))
        for path in ("share/man/man1/mosk-solve.1", "share/man/man1/mosk.1",
                     "share/bash-completion/completions/mosk-solve"):
            self.assertTrue(os.path.isfile(os.path.join(prefix, path)), path)
        run = self.solve("--keep", "--verbose", os.path.join(EXAMPLES, "mm1k.table"),
                         program=os.path.join(prefix, "bin/mosk-solve"), cwd=self.work)
        self.assertIn("running: %s/bin/mosk " % os.path.realpath(prefix), run.stderr)
        kept = re.search(r"run directory kept: (\S+)", run.stderr).group(1)
        bin_dir = os.path.join(kept, "plenar", "Pendra", "bin")
        for worker in os.listdir(bin_dir):
            self.assertTrue(os.path.realpath(os.path.join(bin_dir, worker)).startswith(
                os.path.realpath(prefix)), worker)
        shutil.rmtree(kept)
        self.assertEqual(run.returncode, 0, run.stderr)


if __name__ == "__main__":
    unittest.main()
