#!/usr/bin/env python3
"""Faults during a run of mosk-solve with the real mosk: a worker that
rejects its distribution (mass not 1, mass before time 0, a negative or a
non-vanishing density), dies in the middle of its stream or never answers,
SIGTERM to mosk while it generates, while it solves and while its workers
run, and a full disk (a file-size limit) while chain files are written. Each
ends with mosk's report or a clear line, a failure status, no process left
running and no run directory left behind.

Stand-in workers come from an installation of the test's own (PLENARHOME);
they note their process ids in $WORKER_PIDS.

Environment: MOSK_SOLVE, MOSK (the mosk beside it, run alone once)."""
import os
import resource
import signal
import subprocess
import time
import unittest

from scratch import ScratchTest, read

MOSK_SOLVE = os.environ["MOSK_SOLVE"]
MOSK = os.environ["MOSK"]

NOTE_PID = 'import os, socket, sys, time\nopen(os.environ["WORKER_PIDS"], "a").write("%d\\n" % os.getpid())\n'
# Takes the first bytes of its stream and is killed.
DIES_MID_STREAM = NOTE_PID + (
    'sock = socket.create_connection((sys.argv[1], int(sys.argv[2])))\n'
    'sock.recv(28)\nos.kill(os.getpid(), 9)\n')
# Takes its stream and never answers.
NEVER_ANSWERS = NOTE_PID + (
    'sock = socket.create_connection((sys.argv[1], int(sys.argv[2])))\ntime.sleep(3600)\n')


def net(places, transitions, definitions=""):
    return ("Definition :\n%s\nParameter : Page : \\\nElementaryPlace : %s\nProductPlace :\n"
            "Transition :\n%s\nEvaluate :\nmean = E[ #P ]\n" % (definitions, places, transitions))


def md1k(capacity=5, service="Deterministic(0.5)"):
    return net("P ; %d ;" % capacity, "Arrive [ out#P = e ; Exponential(1.0) ]\n"
                                      "Serve [ in#P = e ; %s ]" % service)


def children(pid):
    try:
        return [int(p) for p in read("/proc/%d/task/%d/children" % (pid, pid)).split()]
    except FileNotFoundError:
        return []


class Faults(ScratchTest):
    def setUp(self):
        super().setUp()
        self.pids = os.path.join(self.work, "pids")
        open(self.pids, "w").close()

    def table(self, text):
        path = os.path.join(self.work, "m.table")
        with open(path, "w") as f:
            f.write(text)
        return path

    def installation(self, **workers):
        """HOME and PLENARHOME of an installation whose workers are the given
        Python scripts."""
        home, plenar = os.path.join(self.work, "home"), os.path.join(self.work, "plenar")
        os.makedirs(home)
        os.makedirs(os.path.join(plenar, "Pendra", "scripts"))
        os.makedirs(os.path.join(plenar, "Pendra", "bin"))
        with open(os.path.join(home, ".Plenar"), "w") as f:
            f.write("HOSTLISTSTART\n%s\nHOSTLISTEND\n" % os.uname().nodename)
        for name, script in workers.items():
            path = os.path.join(plenar, "Pendra", "bin", name)
            with open(path, "w") as f:
                f.write("#!/usr/bin/env python3\n" + script)
            os.chmod(path, 0o755)
        return self.env(HOME=home, PLENARHOME=plenar, WORKER_PIDS=self.pids)

    def start(self, *args, env=None, file_size=None):
        def limit():
            if file_size:
                resource.setrlimit(resource.RLIMIT_FSIZE, (file_size, file_size))
        return subprocess.Popen([MOSK_SOLVE, *args], stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE, text=True,
                                env=env or self.env(WORKER_PIDS=self.pids), preexec_fn=limit)

    def finish(self, process, status, words, err=""):
        err += process.communicate(timeout=120)[1]
        self.assertEqual(process.returncode, status, err[-3000:])
        last = err.rstrip("\n").splitlines()[-1]
        for w in words:
            self.assertIn(w, last)
        self.assertNotIn("--iterative", err)
        self.assertProcessesGone(self.pids)
        self.assertNoRunDirectory()
        return err

    def wait_for(self, condition, what):
        deadline = time.time() + 60
        while not condition():
            self.assertLess(time.time(), deadline, what)
            time.sleep(0.05)

    def test_rejected_distributions_end_with_the_workers_reason(self):
        for general, reason in (
                ("R[0,1]*2", "the total mass is 2, not 1"),
                ("0.5*I[-1]+0.5*I[1]", "the point mass I[-1] lies before time 0"),
                ("R[0,1]*(-1)+R[1,2]*2", "the density is negative at x = "),
                ("e^x", "the density does not vanish as x grows")):
            with self.subTest(general):
                run = self.start(self.table(md1k(service="General(%s)" % general)))
                self.finish(run, 242, ["the general-delay worker stopped without its results: "
                                       "ekiln: the distribution of transition \\Serve is "
                                       "rejected: " + reason])

    def test_a_worker_dying_mid_stream_ends_the_run_at_its_stage(self):
        run = self.start(self.table(md1k()), env=self.installation(kiln_da=DIES_MID_STREAM))
        self.finish(run, 243, ['the deterministic-delay worker stopped without its results: '
                               'its connection closed without "ready."'])

    def test_a_worker_that_never_answers_is_stopped_with_the_time_limit(self):
        run = self.start("--timeout", "5", self.table(md1k()),
                         env=self.installation(kiln_da=NEVER_ANSWERS))
        self.finish(run, 124, ["mosk did not finish within 5 s and was stopped"])
        self.assertTrue(read(self.pids).strip())

    def test_sigterm_to_mosk_while_it_generates(self):
        # Two places that only grow, let through: generation goes on.
        run = self.start("--accept-capped-counts", "--max-markings", "900000000",
                         self.table(net("P ; ;\n| Q ; ;", "A [ out#P = e ; Exponential(1.0) ]\n"
                                                          "B [ out#Q = e ; Exponential(1.0) ]")))
        self.wait_for(lambda: children(run.pid), "mosk did not start")
        mosk = children(run.pid)[0]
        time.sleep(1)
        os.kill(mosk, signal.SIGTERM)
        self.finish(run, 128 + signal.SIGTERM, ["mosk was stopped from outside by signal 15"])

    def test_sigterm_to_mosk_while_its_worker_runs_stops_the_worker(self):
        run = self.start(self.table(md1k()), env=self.installation(kiln_da=NEVER_ANSWERS))
        self.wait_for(lambda: read(self.pids).strip(), "the worker did not start")
        os.kill(children(run.pid)[0], signal.SIGTERM)
        err = self.finish(run, 128 + signal.SIGTERM, ["mosk was stopped from outside by signal 15"])
        self.assertIn("stopped by signal 15 => abort !", err)

    def test_sigterm_to_mosk_while_it_solves(self):
        # A queue of 60,000 places at equal rates: the iteration takes
        # minutes, the graph a moment. mosk's own lines say when it solves.
        run = self.start("--verbose", "--iterative",
                         self.table(md1k(capacity=60000, service="Exponential(1.0)")))
        seen = ""
        for line in run.stderr:
            seen += line
            if "solving LGS" in line:
                break
        self.assertIn("solving LGS", seen)
        os.kill(children(run.pid)[0], signal.SIGTERM)
        err = self.finish(run, 128 + signal.SIGTERM,
                          ["mosk was stopped from outside by signal 15"], seen)
        self.assertIn("stopped by signal 15 => abort !", err)

    def test_mosk_alone_stopped_by_sigterm_stops_its_worker(self):
        # Without mosk-solve, nobody else would stop the worker.
        env = self.installation(kiln_da=NEVER_ANSWERS)
        models = os.path.join(self.work, "models")
        os.makedirs(models)
        for name, text in (("m.table", md1k()), ("m.BSdelays0", "0\n*#END#*\n"),
                           ("m.BSdelays1", "EXIT\n*#END#*\n")):
            with open(os.path.join(models, name), "w") as f:
                f.write(text)
        env["MODELDIR"] = models
        mosk = subprocess.Popen([MOSK, "-N", models + "/m", "-S", "BS", "-E", "1e-10", "-M", "100"],
                                stdout=subprocess.PIPE, text=True, env=env,
                                start_new_session=True)
        try:
            self.wait_for(lambda: read(self.pids).strip(), "the worker did not start")
            mosk.send_signal(signal.SIGTERM)
            out, _ = mosk.communicate(timeout=60)
            self.assertEqual(mosk.returncode, -signal.SIGTERM)
            self.assertIn("\t stopped by signal 15 => abort !\n", out)
            self.assertProcessesGone(self.pids)
        finally:
            try:
                os.killpg(mosk.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass

    def test_a_full_disk_while_chain_files_are_written(self):
        # mosk's own chain file of a queue with room for 2000: 16 KB are not
        # enough (2000 rows of two entries).
        run = self.start(self.table(md1k(capacity=2000, service="Exponential(0.5)")),
                         file_size=16384)
        self.finish(run, 244, ["can't write to file", "/model/m.EMC00",
                               "check the room left where the run directory is"])
        # The worker's chain file of a long deterministic queue: 16 KB are not.
        run = self.start(self.table(md1k(capacity=300)), file_size=16384)
        self.finish(run, 243, ["kiln_da: can't write to", "/model/m.EMC01: File too large"])


if __name__ == "__main__":
    unittest.main()
