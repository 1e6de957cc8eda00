"""A fresh work directory per test of mosk-solve, with TMPDIR (where
mosk-solve makes its run directories) inside it, and an environment free of
a user's installation."""
import os
import shutil
import tempfile
import time
import unittest


def read(path):
    with open(path) as f:
        return f.read()


class ScratchTest(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="mosk-solve-test.")
        self.tmp = os.path.join(self.work, "tmp")
        os.mkdir(self.tmp)

    def tearDown(self):
        shutil.rmtree(self.work, ignore_errors=True)

    def env(self, **changes):
        env = {k: v for k, v in os.environ.items() if k not in ("PLENARHOME", "MOSK")}
        env["TMPDIR"] = self.tmp
        env.update(changes)
        return env

    def assertNoRunDirectory(self):
        self.assertEqual(os.listdir(self.tmp), [])

    def assertProcessesGone(self, pidfile):
        # A killed process may take a moment to go on a busy machine; one
        # that was left running stays.
        deadline = time.time() + 10
        for pid in read(pidfile).split():
            while running(pid) and time.time() < deadline:
                time.sleep(0.05)
            self.assertFalse(running(pid), "process %s is still running" % pid)


def running(pid):
    """Whether the process is alive (a zombie has ended)."""
    try:
        return read("/proc/%s/stat" % pid).split()[2] != "Z"
    except FileNotFoundError:
        return False
