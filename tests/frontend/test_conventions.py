#!/usr/bin/env python3
"""The small conventions of mosk-solve: --version (and the version in the
JSON output), the man pages and the bash completion agree with the options
--help lists.

Environment: MOSK_SOLVE, SOURCE_DIR (the source tree)."""
import json
import os
import re
import shutil
import subprocess
import unittest

from scratch import ScratchTest

MOSK_SOLVE = os.environ["MOSK_SOLVE"]
SOURCE_DIR = os.environ["SOURCE_DIR"]


def options_in_help():
    help_text = subprocess.run([MOSK_SOLVE, "--help"], capture_output=True, text=True).stdout
    return sorted(set(re.findall(r"^\s+(?:-\w, )?(--[a-z-]+)", help_text, re.M)))


class Conventions(ScratchTest):
    def test_the_version_names_the_commit_of_a_checkout(self):
        line = subprocess.run([MOSK_SOLVE, "--version"], capture_output=True, text=True,
                              check=True).stdout
        found = re.fullmatch(r"mosk-solve (\d+\.\d+\.\d+)(?: \(git ([0-9a-f]+)(-dirty)?\))?\n", line)
        self.assertTrue(found, line)
        head = subprocess.run(["git", "rev-parse", "HEAD"], cwd=SOURCE_DIR, capture_output=True,
                              text=True)
        if head.returncode == 0:
            self.assertTrue(found.group(2) and head.stdout.startswith(found.group(2)), line)
        table = os.path.join(SOURCE_DIR, "examples", "mm1k.table")
        data = json.loads(subprocess.run([MOSK_SOLVE, "--format", "json", table],
                                         capture_output=True, text=True, env=self.env()).stdout)
        self.assertEqual(data["version"], found.group(1))
        self.assertEqual(data["commit"], (found.group(2) or "") + (found.group(3) or "") or None)

    def test_man_page_and_completion_know_every_option(self):
        options = options_in_help()
        self.assertIn("--set", options)
        with open(os.path.join(SOURCE_DIR, "man", "mosk-solve.1")) as page:
            man = page.read().replace("\\-", "-")
        with open(os.path.join(SOURCE_DIR, "completion", "mosk-solve.bash")) as script:
            completion = script.read()
        for option in options:
            self.assertRegex(man, r"(?m)^\.B[IR]? .*%s\b" % re.escape(option), option)
            self.assertRegex(completion, r"[\s\"]%s\b" % re.escape(option), option)

    @unittest.skipUnless(shutil.which("bash"), "bash is needed")
    def test_completion_offers_the_definitions_of_the_description(self):
        script = os.path.join(SOURCE_DIR, "completion", "mosk-solve.bash")
        table = os.path.join(SOURCE_DIR, "examples", "kanban.table")
        probe = ("shopt -s extglob; source %s; COMP_WORDS=(mosk-solve %s --set m); COMP_CWORD=3; "
                 "_mosk_solve; echo \"${COMPREPLY[@]}\"" % (script, table))
        offered = subprocess.run(["bash", "-c", probe], capture_output=True, text=True).stdout
        self.assertEqual(offered.split(), ["machine1=", "machine2="])

    @unittest.skipUnless(shutil.which("man"), "man is needed")
    def test_the_man_pages_render_without_warnings(self):
        for page in ("mosk-solve.1", "mosk.1"):
            run = subprocess.run(["man", "--warnings", "-l", os.path.join(SOURCE_DIR, "man", page)],
                                 capture_output=True, text=True, env=dict(os.environ, MANWIDTH="80"))
            self.assertEqual(run.returncode, 0, run.stderr)
            self.assertEqual(run.stderr, "", page)


if __name__ == "__main__":
    unittest.main()
