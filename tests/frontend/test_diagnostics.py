#!/usr/bin/env python3
"""mosk-solve's diagnostics with the real mosk: an error in a description is
shown as its line with a caret under the word and a hint, below mosk's own
report (which stays as it is); names given to --set that do not exist stop
the run before it starts; measures that do not measure what they seem get a
warning, and the results stay as they are.

Environment: MOSK_SOLVE, EXAMPLES (the examples folder)."""
import json
import os
import subprocess
import unittest

from scratch import ScratchTest, read

MOSK_SOLVE = os.environ["MOSK_SOLVE"]
EXAMPLES = os.environ["EXAMPLES"]


class DescriptionTest(ScratchTest):
    def solve(self, *args):
        return subprocess.run([MOSK_SOLVE, "--timeout", "120", *args], capture_output=True,
                              text=True, env=self.env(), cwd=self.work)

    def variant(self, old, new, example="mm1k"):
        text = read(os.path.join(EXAMPLES, example + ".table"))
        self.assertIn(old, text)
        path = os.path.join(self.work, "net.table")
        with open(path, "w") as out:
            out.write(text.replace(old, new, 1))
        return "net.table"  # as the user names it, in the messages


class Diagnostics(DescriptionTest):
    def assertShown(self, run, status, *lines):
        self.assertEqual(run.returncode, status, run.stderr)
        self.assertIn("\nERROR occured\n", run.stderr)  # mosk's report is still there
        shown = run.stderr.split("\n\n")[-1]  # what follows the report
        for line in lines:
            self.assertIn(line, shown)
        self.assertTrue(shown.rstrip("\n").splitlines()[-1].startswith("mosk-solve: "), shown)
        self.assertNoRunDirectory()

    def test_a_misspelt_keyword_is_marked_and_the_keyword_named(self):
        run = self.solve(self.variant("Exponential(arrival)", "Exponentail(arrival)"))
        self.assertShown(run, 250, "net.table:9:22: parse error\n"
                         " 9 | Arrive [ out#P = e ; Exponentail(arrival) ]\n"
                         "   |                      ^~~~~~~~~~~\n"
                         "  hint: `Exponentail` is not a keyword; did you mean `Exponential`?\n")
        # A misspelt section keyword: reading stops at the colour after it.
        run = self.solve(self.variant("Evaluate :", "Evalute :"))
        self.assertShown(run, 250, "net.table:11:9: parse error\n",
                         "did you mean `Evaluate`?")

    def test_an_undefined_name_gets_the_nearest_defined_names(self):
        run = self.solve(self.variant("Exponential(service)", "Exponential(servce)"))
        self.assertShown(run, 250, "net.table:10:32: parse error\n",
                         "  hint: `servce` is not defined on page `\\`; did you mean `service`?\n")
        # On a sub-page a definition of the root page needs its full name.
        run = self.solve(self.variant("Exponential(meanservice)", "Exponential(service)",
                                      example="hierarchy"))
        self.assertShown(run, 250, "write `\\service` on page `\\Srv`")

    def test_a_definition_that_is_not_a_number_shows_where_it_is_defined(self):
        run = self.solve(self.variant("\\service = 0.5", "\\service = ( #P = 5 )"))
        self.assertShown(run, 250, "net.table:10:32: parse error\n",
                         "  hint: `service` is not a number: it is defined as a condition\n"
                         "net.table:4:3: note: `service` is defined here\n"
                         " 4 | | \\service = ( #P = 5 )\n"
                         "   |   ^~~~~~~~\n")
        # A lexical error carries its word: the number that is none.
        run = self.solve(self.variant("\\service = 0.5", "\\service = 0."))
        self.assertShown(run, 251, "net.table:4:14: Error while converting string to double",
                         "write zero as 0 or 0.0")

    def test_an_unknown_place_is_named_in_an_arc_and_in_a_measure(self):
        run = self.solve(self.variant("in#P = e", "in#Q = e"))
        self.assertShown(run, 250, "net.table:10:12: can't get placeref, placename not found\n",
                         "  hint: `Q` is not a place of page `\\`; did you mean `P`?\n")
        # The class check's report names the place and the measure; its
        # line is a place in mosk's code, the excerpt the description's.
        run = self.solve(self.variant("#P = 3", "#Q = 3"))
        self.assertShown(run, 249, "net.table:15:12: can't get place\n"
                         " 15 | | p3 = P[ #Q = 3 ]\n")


class ChecksBeforeTheRun(DescriptionTest):
    @staticmethod
    def measures(run):
        return json.loads(run.stdout)["measures"]

    def expected(self, example):
        lines = read(os.path.join(EXAMPLES, example + ".expected")).splitlines()[:-1]
        return {name.lstrip("\\"): float(value) for name, value in (l.split() for l in lines)}

    def assertClose(self, value, wanted, tolerance):
        self.assertLess(abs(value - wanted), tolerance * max(1.0, abs(wanted)), (value, wanted))

    def test_a_typo_in_a_set_name_stops_before_mosk_runs(self):
        run = self.solve("--set", "Srv/Serv=0.3,0.5", os.path.join(EXAMPLES, "hierarchy.table"))
        self.assertEqual(run.returncode, 2, run.stderr)
        self.assertEqual(run.stdout, "")
        self.assertEqual(run.stderr, "mosk-solve: --set Srv/Serv is not a single-server timed "
                         "transition of a sub-page; did you mean `Srv/Serve`?\n")
        self.assertNoRunDirectory()

    def test_a_wildcard_matching_several_colours_is_named_and_the_result_kept(self):
        table = self.variant("| arrivalsA = TP[ ArriveA ]",
                             "| arrivalsA = TP[ ArriveA ] | anyJob = E[ #Jobs(job?) ]",
                             example="colours")
        run = self.solve("--format", "json", table)
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertEqual(run.stderr, "mosk-solve: warning: `job?` in measure `anyJob` matches "
                         "job.A, job.B but #Jobs(job?) counts only the first of them that Jobs can "
                         "hold (job.A); to count them all, name each: #Jobs({job.A, job.B})\n")
        values = self.measures(run)
        expected = self.expected("colours")
        self.assertClose(values["anyJob"], expected["meanA"], 1e-9)  # job.A alone
        for name, value in expected.items():
            self.assertClose(values[name], value, 1e-9)

    def test_tp_in_a_dspn_is_named_and_the_throughput_over_all_markings_given(self):
        table = self.variant("| arrivals = P[ #Queue < 5 ] / arrival",
                             "| arrivals = P[ #Queue < 5 ] / arrival | tp = TP[ Serve ]",
                             example="md1k")
        run = self.solve("--format", "json", table)
        self.assertEqual(run.returncode, 0, run.stderr)
        warning, note = run.stderr.splitlines()
        self.assertEqual(warning, "mosk-solve: warning: TP[Serve] in measure `tp` counts firings "
                         "only in markings where no deterministic or general transition is "
                         "enabled; over all markings the throughput of Serve is "
                         "P[ #Queue >= 1 ] / service, whose value follows the results")
        self.assertTrue(note.startswith("mosk-solve: throughput of Serve over all markings "
                                        "(for TP[Serve] in `tp`): "), note)
        values = self.measures(run)
        expected = self.expected("md1k")
        # In steady state every customer admitted is served: lambda (1 - p5).
        self.assertClose(float(note.split(": ")[-1]), expected["arrivals"], 1e-8)
        self.assertEqual(values["tp"], 0.0)  # Serve is enabled only in deterministic markings
        self.assertEqual(sorted(values), sorted(list(expected) + ["tp"]))
        for name, value in expected.items():
            self.assertClose(values[name], value, 1e-8)


if __name__ == "__main__":
    unittest.main()
