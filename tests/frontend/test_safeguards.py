#!/usr/bin/env python3
"""mosk-solve with the real mosk on nets that have no finite graph or whose
counts pass the largest a place holds, and on nets whose workers are
missing: each ends with one line naming the place and what to change, fast,
with nothing left behind, unless the user accepts capped counts.

Environment: MOSK_SOLVE, BUILD_DIR (the build tree)."""
import os
import shutil
import subprocess
import time
import unittest

from scratch import ScratchTest

MOSK_SOLVE = os.environ["MOSK_SOLVE"]
BUILD_DIR = os.environ["BUILD_DIR"]


def net(places, transitions, measures="mean = E[ #P ]", definitions=""):
    return ("Definition :\n%s\nParameter : Page : \\\nElementaryPlace : %s\nProductPlace :\n"
            "Transition :\n%s\nEvaluate :\n%s\n" % (definitions, places, transitions, measures))


# The nets: a place that only grows, two of them, and a queue whose
# arrivals come twice as fast as its services, without a capacity.
ONLY_GROWS = net("P ; ;", "Arrive [ out#P = e ; Exponential(1.0) ]")
TWO_GROW = net("P ; ;\n| Q ; ;", "ArriveP [ out#P = e ; Exponential(1.0) ]\n"
                                  "ArriveQ [ out#Q = e ; Exponential(1.0) ]")
UNSTABLE = net("P ; ;", "Arrive [ out#P = e ; Exponential(0.5) ]\n"
                        "Serve [ in#P = e ; Exponential(1.0) ]")
# Arrivals stop at three customers by a guard, not a capacity: the growth is
# only a hint, and the queue is M/M/1/3 with rates 1 and 2.
GUARDED = net("P ; ;", "Arrive ( #P < 3 ) [ out#P = e ; Exponential(1.0) ]\n"
                       "Serve [ in#P = e ; Exponential(0.5) ]", "p0 = P[ #P = 0 ]")
# 70000 tokens written on line 11, in a measure.
WRITTEN = net("P ; 1 ;", "Arrive [ out#P = e ; Exponential(1.0) ]\n"
                         "Serve [ in#P = e ; Exponential(1.0) ]",
              "p0 = P[ #P = 0 ]\n| huge = P[ @P = 70000'e ]")


class Safeguards(ScratchTest):
    def table(self, text, name="m.table"):
        path = os.path.join(self.work, name)
        with open(path, "w") as f:
            f.write(text)
        return path

    def solve(self, *args, program=MOSK_SOLVE, env=None):
        started = time.time()
        done = subprocess.run([program, "--timeout", "240", *args], capture_output=True,
                              text=True, env=env or self.env())
        done.seconds = time.time() - started
        return done

    def assertEndsWith(self, run, status, words):
        self.assertEqual(run.returncode, status, run.stderr[-3000:])
        last = run.stderr.rstrip("\n").splitlines()[-1]
        self.assertTrue(last.startswith("mosk-solve: "), last)
        for w in words:
            self.assertIn(w, last)
        self.assertNoRunDirectory()

    def test_places_that_only_grow_stop_the_run_at_once_with_their_names(self):
        for text, place in ((ONLY_GROWS, "\\P"), (TWO_GROW, "\\P"), (UNSTABLE, "\\P")):
            run = self.solve(self.table(text))
            self.assertEndsWith(run, 239, ["place %s grows without bound" % place,
                                           "give it a capacity, or a guard"])
            self.assertLess(run.seconds, 60)

    def test_accepted_capped_counts_run_on_with_warnings_unless_strict(self):
        table = self.table(UNSTABLE)
        run = self.solve("--accept-capped-counts", table)
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertIn("mosk-solve: warning: place \\P grows without bound", run.stderr)
        self.assertIn("mosk-solve: warning: place \\P holds 65535 tokens, the largest count",
                      run.stderr)
        run = self.solve("--accept-capped-counts", "--strict", table)
        self.assertEndsWith(run, 239, ["place \\P grows without bound"])

    def test_a_count_at_65535_fails_where_growth_is_no_proof(self):
        # A guard reads P (it always holds, but that takes reading), so P's
        # growth proves nothing; the count of 65535 it reaches stops the run.
        table = self.table(net("P ; ;", "Arrive ( #P >= 0 ) [ out#P = e ; Exponential(1.0) ]"))
        run = self.solve(table)
        self.assertIn("grows without bound, perhaps", run.stderr)
        self.assertEndsWith(run, 239, ["place \\P reached 65535 tokens",
                                       "--accept-capped-counts"])

    def test_a_guarded_queue_gets_a_hint_and_its_results(self):
        run = self.solve("--format", "csv", self.table(GUARDED))
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertIn("mosk-solve: warning: place \\P grows without bound, perhaps:", run.stderr)
        self.assertIn("only a hint", run.stderr)
        self.assertAlmostEqual(float(run.stdout.splitlines()[1].split(",")[1]), 8 / 15, 12)

    def test_graphs_beyond_the_limits_stop_with_the_places_that_grew(self):
        table = self.table(TWO_GROW)
        run = self.solve("--accept-capped-counts", "--max-markings", "2000", table)
        self.assertEndsWith(run, 239, ["more than 2000 markings", "places \\P \\Q grow",
                                       "--max-markings"])
        run = self.solve("--accept-capped-counts", "--max-memory", "30", table)
        self.assertEndsWith(run, 239, ["needs more than 30 MB", "--max-memory"])

    def test_a_quantity_above_65535_is_refused_unless_accepted(self):
        table = self.table(WRITTEN)
        run = self.solve(table)
        self.assertEndsWith(run, 250, ["line 11 writes a token quantity above 65535"])
        run = self.solve("--format", "csv", "--accept-capped-counts", table)
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertIn("mosk-solve: warning: token quantity 70000 in line 11 is read as 65535",
                      run.stderr)
        self.assertEqual(run.stdout.splitlines()[1:], ["p0,0.5", "huge,0"])

    def test_missing_workers_are_named_before_anything_runs(self):
        # mosk and mosk-solve alone, without the workers around them.
        lone = os.path.join(self.work, "lone")
        os.makedirs(lone)
        for program in ("src/frontend/mosk-solve", "src/run/mosk"):
            shutil.copy(os.path.join(BUILD_DIR, program), lone)
        dspn = self.table(net("P ; 5 ;", "Arrive [ out#P = e ; Exponential(1.0) ]\n"
                                         "Serve [ in#P = e ; Deterministic(0.5) ]"))
        run = self.solve(dspn, program=os.path.join(lone, "mosk-solve"))
        self.assertEndsWith(run, 243, ["deterministic delays", "need the worker kiln_da"])
        self.assertLess(run.seconds, 5)
        # A user's installation without ekiln.
        home, plenar = os.path.join(self.work, "home"), os.path.join(self.work, "plenar")
        os.makedirs(home)
        os.makedirs(os.path.join(plenar, "Pendra", "bin"))
        with open(os.path.join(home, ".Plenar"), "w") as f:
            f.write("HOSTLISTSTART\n%s\nHOSTLISTEND\n" % os.uname().nodename)
        edspn = self.table(net("P ; 5 ;", "Arrive [ out#P = e ; Exponential(1.0) ]\n"
                                          "Serve [ in#P = e ; Uniform(0.25, 0.75) ]"))
        run = self.solve(edspn, env=self.env(HOME=home, PLENARHOME=plenar))
        self.assertEndsWith(run, 242, ["need the worker ekiln",
                                       os.path.join(plenar, "Pendra", "bin", "ekiln")])


if __name__ == "__main__":
    unittest.main()
