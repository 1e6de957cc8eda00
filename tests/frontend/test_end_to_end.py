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

    def variant(self, name, old, new):
        path = os.path.join(self.work, name)
        text = read(os.path.join(EXAMPLES, "hierarchy.table"))
        self.assertIn(old, text)
        with open(path, "w") as out:
            out.write(text.replace(old, new))
        return path

    def test_a_sweep_matches_separate_runs(self):
        table = os.path.join(EXAMPLES, "hierarchy.table")
        self.solved(table)
        sweep = json.loads(self.solved("--format", "json", "--set", "Srv/Serve=0.25,0.4,0.5",
                                       table).stdout)
        self.assertEqual(len(sweep["passes"]), 3)
        rows = self.solved("--set", "Srv/Serve=0.25,0.4,0.5", table).stdout.splitlines()
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
