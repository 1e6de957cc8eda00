#!/usr/bin/env python3
"""mosk-solve against a stand-in mosk (fake_mosk.py): the run directory, the
delays files of sweeps, the output formats, the relay of failures, the retry
in the iterative mode and the clean-up after errors and interrupts.

Environment: MOSK_SOLVE (the mosk-solve to test)."""
import json
import os
import shutil
import signal
import subprocess
import time
import unittest

from scratch import ScratchTest, read

HERE = os.path.dirname(os.path.abspath(__file__))
MOSK_SOLVE = os.environ["MOSK_SOLVE"]
FAKE_MOSK = os.path.join(HERE, "fake_mosk.py")


class Run:
    def __init__(self, status, out, err):
        self.status, self.out, self.err = status, out, err


class FrontEndTest(ScratchTest):
    def model(self, *directives, name="net.table", swept=()):
        """A description for the fake mosk; `swept` names SUB/T transitions
        it declares, as mosk-solve checks --set against the description."""
        path = os.path.join(self.work, name)
        pages = {}
        for label in swept:
            page, transition = label.split("/")
            pages.setdefault(page, []).append(transition)
        with open(path, "w") as table:
            table.write("Definition :\n" + "".join("FAKE %s\n" % d for d in directives))
            for page, transitions in pages.items():
                table.write("Parameter : Page : \\%s\nElementaryPlace : Q ; ; e\nProductPlace :\n"
                            "Transition :\n%sEvaluate :\n" % (page, "".join(
                                "%s [ in#Q = e ; Exponential(1) ]\n" % t for t in transitions)))
        return path

    def env(self, **changes):
        return super().env(MOSK=FAKE_MOSK, **changes)

    def solve(self, *args, env=None, timeout=60):
        done = subprocess.run([MOSK_SOLVE, *args], capture_output=True, text=True,
                              env=env or self.env(), timeout=timeout)
        return Run(done.returncode, done.stdout, done.stderr)



class OutputFormats(FrontEndTest):
    def test_table_csv_and_json_carry_the_values_as_written(self):
        table = self.model("measure p0 0.3333333333333333", "measure tiny 1e-05",
                           "measure undefined nan")
        run = self.solve(table)
        self.assertEqual(run.status, 0, run.err)
        self.assertEqual(run.out, "measure    value\n"
                                  "p0         0.3333333333333333\n"
                                  "tiny       1e-05\n"
                                  "undefined  nan\n"
                                  "\n"
                                  "estimated relative error of the measures 1e-11, "
                                  "of the probabilities 3e-11, largest residual 1e-12 "
                                  "(GAUSS-SEIDEL)\n")
        run = self.solve("--format", "csv", table)
        self.assertEqual(run.out, "measure,value\np0,0.3333333333333333\ntiny,1e-05\nundefined,nan\n")
        run = self.solve("--format=json", table)
        data = json.loads(run.out)
        self.assertEqual(data["measures"], {"p0": 0.3333333333333333, "tiny": 1e-05,
                                            "undefined": "nan"})
        self.assertIn('"p0": 0.3333333333333333', run.out)
        self.assertEqual(data["tangible_markings"], 7)
        self.assertEqual(data["solver_mode"], "automatic")
        self.assertEqual(data["accuracy"], 1e-12)
        self.assertEqual(data["error_estimate"], 3e-11)
        self.assertEqual(data["measures_error_estimate"], 1e-11)
        self.assertEqual(len(data["passes"]), 1)
        self.assertEqual(data["passes"][0]["method"], "GAUSS-SEIDEL")
        self.assertEqual(data["passes"][0]["error_estimate"], 3e-11)
        self.assertEqual(data["passes"][0]["measures_error_estimate"], 1e-11)
        self.assertEqual(data["passes"][0]["iterations"], 10)
        self.assertTrue(data["passes"][0]["converged"])
        self.assertGreater(data["seconds"], 0)
        self.assertNoRunDirectory()


class Sweeps(FrontEndTest):
    def test_one_delays_file_per_value_and_one_row_per_pass(self):
        table = self.model("echo-delays", swept=["Server/Serve"])
        run = self.solve("--set", "Server/Serve=0.25,0.5,1e1", table)
        self.assertEqual(run.status, 0, run.err)
        rows, footer = run.out.split("\n\n")
        rows = rows.splitlines()
        self.assertEqual(len(rows), 4, run.out)
        # The worst over the passes.
        self.assertEqual(footer, "estimated relative error of the measures 3e-11, "
                                 "of the probabilities 9e-11, largest residual 3e-12\n")
        self.assertEqual(rows[0].split(), ["Server/Serve", "delays"])
        self.assertEqual(rows[1].split(), ["0.25", "1_Server_1_Serve_0_0.25_*#END#*"])
        self.assertEqual(rows[3].split(), ["1e1", "1_Server_1_Serve_0_10_*#END#*"])
        data = json.loads(self.solve("--format", "json", "--set", "Server/Serve=0.25,0.5,1e1",
                                     table).out)
        self.assertEqual([p["set"] for p in data["passes"]],
                         [{"Server/Serve": 0.25}, {"Server/Serve": 0.5}, {"Server/Serve": 10}])
        self.assertEqual(data["accuracy"], 3e-12)  # the worst pass

    def test_settings_span_a_grid_and_one_page_shares_its_entry(self):
        table = self.model("echo-delays", swept=["A/T", "B\\C/U", "A/V"])
        run = self.solve("--format", "csv", "--set", "A/T=1,2", "--set", "B\\C/U=3",
                         "--set", "A/V=5,6", table)
        self.assertEqual(run.status, 0, run.err)
        self.assertEqual(run.out.splitlines(), [
            "A/T,B\\C/U,A/V,delays",
            "1,3,5,2_A_2_T_0_1_V_0_5_B\\C_1_U_0_3_*#END#*",
            "1,3,6,2_A_2_T_0_1_V_0_6_B\\C_1_U_0_3_*#END#*",
            "2,3,5,2_A_2_T_0_2_V_0_5_B\\C_1_U_0_3_*#END#*",
            "2,3,6,2_A_2_T_0_2_V_0_6_B\\C_1_U_0_3_*#END#*"])

    def test_wrong_settings_are_refused_before_anything_runs(self):
        table = self.model()
        for setting, complaint in [("B/U=4", "given twice"),
                                   ("T=1", "has no definition of that name"),
                                   ("A/T=0", "not a positive mean delay"),
                                   ("A/T=1,,2", "not a number"), ("x=1:2", "not a range"),
                                   ("1A/T=1", "not a sub-page name"), ("A/T-x=1", "not a transition")]:
            run = self.solve("--set", "B/U=1,2,3", "--set", setting, table)
            self.assertEqual(run.status, 2, setting)
            self.assertIn(complaint, run.err, setting)
        self.assertNoRunDirectory()


class DefinitionSweeps(FrontEndTest):
    """A definition that needs a graph of its own is swept by one run per
    value, several at once."""

    def model(self, *directives, definitions="\\x = 1"):
        path = os.path.join(self.work, "net.table")
        with open(path, "w") as table:
            table.write("Definition :\n" + "".join("FAKE %s\n" % d for d in directives) +
                        "| " + definitions + "\n")
        return path

    def test_runs_overlap_and_rows_keep_the_order_of_the_values(self):
        log = os.path.join(self.work, "log")
        table = self.model("measure-def x", "sleep-def x", "log " + log)
        # The first run sleeps long enough for the second to start beside it
        # even on a busy machine; the last, started when the second ends, ends
        # before the first so that the rows' order is not the order of ending.
        run = self.solve("--jobs", "2", "--set", "x=2.4,0.2,0.4", table)
        self.assertEqual(run.status, 0, run.err)
        self.assertEqual([row.split() for row in run.out.split("\n\n")[0].splitlines()],
                         [["x", "x"], ["2.4", "2.4"], ["0.2", "0.2"], ["0.4", "0.4"]])
        events = [line.split()[0] for line in read(log).splitlines()]
        self.assertEqual(events[:2], ["start", "start"], events)
        self.assertEqual(events.count("start"), 3)
        self.assertNoRunDirectory()

    def test_a_failed_value_is_a_row_with_its_error(self):
        table = self.model("measure-def x", "fail-when x 0", definitions="\\x = 1\n| \\y = 3")
        run = self.solve("--set", "x=1,0", "--set", "y=3", table)
        self.assertEqual(run.status, 252)
        rows = run.out.splitlines()
        self.assertEqual(rows[0].split(), ["x", "y", "x", "error"])
        self.assertEqual(rows[1].split(), ["1", "3", "1"])
        self.assertTrue(rows[2].startswith("0  3"), rows[2])
        self.assertIn("the net model rejected a value", rows[2])
        # y is used nowhere, so it changes nothing a run needs: x names the run.
        self.assertIn("mosk-solve: x=0: the net model rejected a value", run.err)
        data = json.loads(self.solve("--format", "json", "--set", "x=1,0", table).out)
        self.assertIsNone(data["passes"][0]["error"])
        self.assertEqual(data["passes"][0]["measures"], {"x": 1})
        self.assertIn("value given to exp. delay is zero", data["passes"][1]["report"])
        self.assertTrue(data["passes"][1]["report"].startswith("ERROR occured"))
        self.assertEqual(data["runs"], 2)

    def test_an_interrupt_stops_every_run_and_cleans_up(self):
        pids = os.path.join(self.work, "pids")
        table = self.model("measure-def x", "sleep 30", "pidfile " + pids)
        process = subprocess.Popen([MOSK_SOLVE, "--jobs", "2", "--set", "x=1,2,3", table],
                                   env=self.env(), stdout=subprocess.PIPE,
                                   stderr=subprocess.PIPE, text=True)
        deadline = time.time() + 20
        while not os.path.exists(pids) or len(read(pids).splitlines()) < 2:
            self.assertLess(time.time(), deadline, "the fake runs did not start")
            time.sleep(0.05)
        process.send_signal(signal.SIGINT)
        out, err = process.communicate(timeout=20)
        self.assertEqual(process.returncode, 128 + signal.SIGINT, err)
        self.assertEqual(out, "")
        self.assertIn("interrupted", err)
        self.assertProcessesGone(pids)
        self.assertNoRunDirectory()


class Failures(FrontEndTest):
    BLOCK = ("\nERROR occured\n\nfile\t\t : pars\nline\t\t : 4\nfunction \t : yyparse()\n"
             "description\t : parse error\nadditional info1 : Transition\n"
             "additional info2 : Serve\n\n")

    def test_an_error_report_is_shown_unchanged_with_a_summary(self):
        printed = self.BLOCK.replace("\t", "\\t").replace("\n", "\\n")
        table = self.model("print " + printed, "exit 250")
        run = self.solve(table)
        self.assertEqual(run.status, 250)
        self.assertEqual(run.out, "")
        self.assertIn(self.BLOCK, run.err)
        summary = run.err.strip().splitlines()[-1]
        self.assertIn("syntax error in the description at line 4", summary)
        self.assertIn("near 'Serve'", summary)
        self.assertNoRunDirectory()

    def test_the_direct_solver_giving_up_leads_to_an_iterative_run(self):
        table = self.model("direct-fails", "measure p 0.5")
        run = self.solve("--format", "json", table)
        self.assertEqual(run.status, 0, run.err)
        self.assertIn("row number 3 has a zero pivot", run.err)
        self.assertIn("solving again with the iterative method", run.err)
        self.assertEqual(json.loads(run.out)["solver_mode"], "iterative")

    def test_a_run_without_results_is_a_failure(self):
        run = self.solve(self.model("no-results"))
        self.assertEqual(run.status, 3)
        self.assertIn("no complete results for pass 0", run.err)

    def test_a_missing_description_and_an_unusable_directory(self):
        run = self.solve(os.path.join(self.work, "absent.table"))
        self.assertEqual(run.status, 2)
        self.assertIn("cannot read", run.err)
        self.assertNoRunDirectory()
        blocker = os.path.join(self.work, "a-file")
        open(blocker, "w").close()
        run = self.solve(self.model(), env=self.env(TMPDIR=os.path.join(blocker, "sub")))
        self.assertEqual(run.status, 2)
        self.assertIn("cannot create a run directory", run.err)

    def test_a_missing_mosk_is_named(self):
        run = self.solve("--mosk", os.path.join(self.work, "no-mosk"), self.model())
        self.assertEqual(run.status, 2)
        self.assertIn("cannot find mosk", run.err)

    def test_the_time_limit_stops_mosk(self):
        pids = os.path.join(self.work, "pids")
        # Three seconds: on a busy machine the stand-in takes a second or more
        # to start and note its processes.
        run = self.solve("--timeout", "3", self.model("sleep 30", "pidfile " + pids))
        self.assertEqual(run.status, 124)
        self.assertIn("did not finish within 3 s", run.err)
        self.assertProcessesGone(pids)
        self.assertNoRunDirectory()

    def test_an_interrupt_stops_mosk_and_its_children_and_cleans_up(self):
        pids = os.path.join(self.work, "pids")
        table = self.model("sleep 30", "pidfile " + pids)
        process = subprocess.Popen([MOSK_SOLVE, table], env=self.env(),
                                   stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        deadline = time.time() + 20
        while not os.path.exists(pids) or not read(pids).endswith("\n"):
            self.assertLess(time.time(), deadline, "the fake mosk did not start")
            time.sleep(0.05)
        process.send_signal(signal.SIGINT)
        out, err = process.communicate(timeout=20)
        self.assertEqual(process.returncode, 128 + signal.SIGINT)
        self.assertIn("interrupted", err)
        self.assertProcessesGone(pids)
        self.assertNoRunDirectory()


class RunEnvironment(FrontEndTest):
    def test_private_environment_and_mosk_command_line(self):
        run = self.solve("--keep", "-E", "1e-6", "-M50", "-r", "--mosk-flags", "-t -C", "-I",
                         self.model(name="my model.TABLE"))
        self.assertEqual(run.status, 0, run.err)
        kept = run.err.strip().splitlines()[-1].split("run directory kept: ")[1]
        self.assertTrue(kept.startswith(self.tmp))
        model = os.path.join(kept, "model")
        self.assertIn("fake-mosk: args -N %s/my_model -S BS -E 1e-6 -M 50 -v -I -r -t -C" % model,
                      run.err)  # -r and the others make mosk's output visible
        self.assertIn("fake-mosk: MODELDIR=" + model, run.err)
        plenar = read(os.path.join(kept, "home", ".Plenar"))
        self.assertIn("HOSTLISTSTART\n%s\nHOSTLISTEND\n" % os.uname().nodename, plenar)
        # mosk-solve's own solver defaults: Gauss-Seidel with a trial of
        # over-relaxation, stopped on its error estimate, elimination only
        # where it takes about a second.
        self.assertIn("ITERATION SOR AUTO\nSTOP TEST ERROR\nDIRECT WORK 1e8\n", plenar)
        self.assertTrue(os.path.isdir(os.path.join(kept, "plenar", "Pendra", "scripts")))
        self.assertTrue(os.path.isfile(os.path.join(model, "my_model.table")))
        self.assertFalse(os.path.exists(os.path.join(model, "my_model.BSdelays0")))

    def test_the_method_chosen_goes_into_the_private_plenar_file(self):
        # By default Gauss-Seidel with a trial of over-relaxation, stopped at
        # an estimated error of 1e-9.
        run = self.solve("--keep", "--verbose", self.model())
        self.assertEqual(run.status, 0, run.err)
        kept = run.err.strip().splitlines()[-1].split("run directory kept: ")[1]
        self.assertIn("ITERATION SOR AUTO\n", read(os.path.join(kept, "home", ".Plenar")))
        self.assertRegex(run.out + run.err, r"fake-mosk: args -N \S+ -S BS -E 1e-9 -M ")
        shutil.rmtree(kept)
        for method, line in (("sor:1.5", "ITERATION SOR 1.5\n"), ("bicgstab", "ITERATION BICGSTAB\n"),
                             ("sor:1.2", "ITERATION SOR 1.2\n"),
                             ("gauss-seidel", "ITERATION GAUSS-SEIDEL\n"),
                             ("gauss-seidel-backward", "ITERATION GAUSS-SEIDEL BACKWARD\n")):
            run = self.solve("--keep", "--method", method, self.model())
            self.assertEqual(run.status, 0, run.err)
            kept = run.err.strip().splitlines()[-1].split("run directory kept: ")[1]
            self.assertIn(line, read(os.path.join(kept, "home", ".Plenar")))
            shutil.rmtree(kept)
        for bad in ("sor:2", "sor:0", "sor", "gauss"):
            self.assertEqual(self.solve("--method", bad, self.model()).status, 2, bad)

    def test_the_users_installation_is_used_when_plenarhome_is_set(self):
        # The user's .Plenar, with mosk-solve's safeguards after it, in the
        # run's own home; without a .Plenar there is nothing to run with.
        home = os.path.join(self.work, "user")
        os.makedirs(home)
        env = self.env(PLENARHOME="/opt/plenar", HOME=home)
        run = self.solve(self.model(), env=env)
        self.assertEqual(run.status, 2)
        self.assertIn("cannot read %s/.Plenar" % home, run.err)
        with open(os.path.join(home, ".Plenar"), "w") as plenar:
            plenar.write("HOSTLISTSTART\nfarhost\nHOSTLISTEND\nMAX MARKINGS 77")
        run = self.solve("--verbose", "--keep", "--max-memory", "300", self.model(), env=env)
        self.assertEqual(run.status, 0, run.err)
        self.assertIn("fake-mosk: PLENARHOME=/opt/plenar", run.err)
        kept = run.err.strip().splitlines()[-1].split("run directory kept: ")[1]
        self.assertIn("fake-mosk: HOME=%s/home\n" % kept, run.err)
        self.assertEqual(read(os.path.join(kept, "home", ".Plenar")),
                         "HOSTLISTSTART\nfarhost\nHOSTLISTEND\nMAX MARKINGS 77\n"
                         "CAPPED COUNTS STOP\nUNBOUNDED PLACES STOP\nWORKER FAILURES STOP\n"
                         "MAX GRAPH MEMORY 300\n")

    def test_progress_lines_on_a_pipe_only_when_asked_for(self):
        table = self.model("print parsing transition table ...", "pause 1.5", "measure p 0.5")
        run = self.solve("--progress", "--keep", table)
        self.assertEqual(run.status, 0, run.err)
        self.assertEqual(run.out.split("\n\n")[0], "measure  value\np        0.5")
        self.assertRegex(run.err, r"(?m)^mosk-solve: reading the description \[\d+ s\]$")
        kept = run.err.strip().splitlines()[-1].split("run directory kept: ")[1]
        self.assertIn("\nSOLVER PROGRESS 0.5\n", read(os.path.join(kept, "home", ".Plenar")))
        run = self.solve("--no-progress", "--keep", table)
        self.assertNotIn("reading the description", run.err)
        kept = run.err.strip().splitlines()[-1].split("run directory kept: ")[1]
        self.assertNotIn("SOLVER PROGRESS", read(os.path.join(kept, "home", ".Plenar")))

    def test_a_missing_renderer_is_named_before_anything_runs(self):
        bin_dir = os.path.join(self.work, "bin")
        os.mkdir(bin_dir)
        os.symlink(shutil.which("python3"), os.path.join(bin_dir, "python3"))
        env = self.env(PATH=bin_dir)
        table = self.model("measure p 0.5")
        for args, complaint in [(["--set", "A/T=1,2", "--plot", "s.svg"], "--plot needs gnuplot"),
                                (["--graph", "g.png"], "--graph needs dot (Graphviz)")]:
            run = self.solve(*args, table, env=env)
            self.assertEqual(run.status, 2, run.err)
            self.assertIn(complaint + ", which is not installed", run.err)
            self.assertEqual(run.out, "")
        # The DOT text needs no renderer (the stand-in lists no graph, though).
        run = self.solve("--graph", os.path.join(self.work, "g.dot"), table, env=env)
        self.assertEqual(run.status, 4, run.err)
        self.assertIn("holds no graph listing", run.err)
        self.assertNoRunDirectory()

    def test_quiet_by_default_and_unknown_switches_refused(self):
        run = self.solve(self.model())
        self.assertEqual(run.err, "")
        for bad in (["-q"], ["--mosk-flags", "-N x"], ["--format", "xml"], ["-E", "0"],
                    ["-M", "many"], ["--bogus"], ["--keep=yes"]):
            run = self.solve(*bad, self.model())
            self.assertEqual(run.status, 2, bad)
        self.assertEqual(self.solve("--help").status, 0)
        self.assertIn("--set NAME=v1,v2,...", self.solve("--help").out)


if __name__ == "__main__":
    unittest.main()
