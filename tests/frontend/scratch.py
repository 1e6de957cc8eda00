"""A fresh work directory per test of mosk-solve, with TMPDIR (where
mosk-solve makes its run directories) inside it, and an environment free of
a user's installation."""
import os
import shutil
import tempfile
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
