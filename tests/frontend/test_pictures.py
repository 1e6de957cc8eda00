#!/usr/bin/env python3
"""The pictures of mosk-solve with the real mosk, gnuplot and Graphviz: the
graph of a small model, whose markings and probabilities must be those of
the results (read back from the DOT text), its refusal for a large model,
and the plots of sweeps.

Environment: MOSK_SOLVE, EXAMPLES (the examples folder)."""
import json
import os
import re
import subprocess

from scratch import ScratchTest, read

MOSK_SOLVE = os.environ["MOSK_SOLVE"]
EXAMPLES = os.environ["EXAMPLES"]


def dot_nodes(text):
    """{state: (label, attributes)} of the nodes of a DOT text."""
    nodes = {}
    for name, body in re.findall(r"^  m(\d+) \[(.*)\];$", text, re.M):
        attributes = dict(re.findall(r'(\w+)=("(?:[^"\\]|\\.)*"|[^,]+)', body))
        attributes = {k: v.strip('"') for k, v in attributes.items()}
        nodes[int(name)] = attributes
    return nodes


class Pictures(ScratchTest):
    def solve(self, *args):
        run = subprocess.run([MOSK_SOLVE, "--timeout", "120", *args], capture_output=True,
                             text=True, env=self.env())
        return run

    def test_the_graph_of_mm1k_carries_the_probabilities_of_the_results(self):
        picture = os.path.join(self.work, "mm1k.dot")
        run = self.solve("--format", "json", "--graph", picture,
                         os.path.join(EXAMPLES, "mm1k.table"))
        self.assertEqual(run.returncode, 0, run.stderr)
        measures = json.loads(run.stdout)["measures"]
        dot = read(picture)
        nodes = dot_nodes(dot)
        self.assertEqual(len(nodes), 6)
        seen = set()
        for node in nodes.values():
            found = re.match(r"(empty|P=(\d))\\np=", node["label"])
            self.assertTrue(found, node["label"])
            k = int(found.group(2) or 0)
            seen.add(k)
            probability = float(node["probability"])
            self.assertAlmostEqual(probability, float(measures["p%d" % k]), delta=1e-15)
            self.assertAlmostEqual(probability, 2 ** (5 - k) / 63, delta=1e-14)
            self.assertEqual(node["shape"], "ellipse")
        self.assertEqual(seen, set(range(6)))
        edges = re.findall(r'^  m(\d+) -> m(\d+) \[label="(\w+)\\nrate ([\d.]+)"\];$', dot, re.M)
        self.assertEqual(len(edges), 10)
        for source, target, transition, rate in edges:
            k_from, k_to = (int(re.search(r"P=(\d)", nodes[int(s)]["label"]).group(1))
                            if "P=" in nodes[int(s)]["label"] else 0 for s in (source, target))
            self.assertEqual((transition, rate),
                             ("Arrive", "1") if k_to == k_from + 1 else ("Serve", "2"))

    def test_deterministic_markings_are_told_apart_and_svg_is_drawn(self):
        picture = os.path.join(self.work, "md1k.svg")
        run = self.solve("--graph", picture, os.path.join(EXAMPLES, "md1k.table"))
        self.assertEqual(run.returncode, 0, run.stderr)
        svg = read(picture)
        self.assertIn("<svg", svg)
        self.assertIn("delay 0.5", svg)
        dot = os.path.join(self.work, "md1k.dot")
        self.solve("--graph", dot, os.path.join(EXAMPLES, "md1k.table"))
        shapes = {node["type"]: node["shape"] for node in dot_nodes(read(dot)).values()}
        self.assertEqual(shapes["exponential"], "ellipse")
        self.assertEqual(shapes["deterministic"], "box")

    def test_a_large_graph_is_refused_after_the_results(self):
        table = os.path.join(self.work, "big.table")
        with open(table, "w") as out:
            out.write(read(os.path.join(EXAMPLES, "mm1k.table")).replace("P ; 5 ;", "P ; 400 ;"))
        picture = os.path.join(self.work, "big.svg")
        run = self.solve("--graph", picture, table)
        self.assertEqual(run.returncode, 4)
        self.assertIn("p0", run.stdout)
        self.assertIn("it has 401 tangible markings, more than the 300", run.stderr)
        self.assertFalse(os.path.exists(picture))
        self.assertNoRunDirectory()

    def test_plots_of_a_sweep_and_of_a_grid(self):
        table = os.path.join(EXAMPLES, "md1k.table")
        picture = os.path.join(self.work, "grid.svg")
        run = self.solve("--set", "arrival=0.5:2:4", "--set", "service=0.3,0.6",
                         "--plot", picture, table)
        self.assertEqual(run.returncode, 0, run.stderr)
        svg = read(picture)
        for text in ("<title>", ">p0<", ">arrivals<", ">service=0.3<", ">service=0.6<", ">arrival<"):
            self.assertIn(text, svg)
        chosen = os.path.join(self.work, "chosen.png")
        run = self.solve("--set", "arrival=0.5,1,2", "--plot", chosen, "--plot-measures",
                         "p0,mean", os.path.join(EXAMPLES, "mm1k.table"))
        self.assertEqual(run.returncode, 0, run.stderr)
        with open(chosen, "rb") as png:
            self.assertEqual(png.read(8), b"\x89PNG\r\n\x1a\n")

    def test_plot_requests_are_checked_before_the_run(self):
        table = os.path.join(EXAMPLES, "mm1k.table")
        picture = os.path.join(self.work, "p.svg")
        for args, complaint in [(["--set", "arrival=1,2", "--plot-measures", "p9"],
                                 "defines no measure p9 (its measures: p0, p1"),
                                (["--set", "arrival=1"], "give --set a setting with several values"),
                                ([], "give --set a setting with several values")]:
            run = self.solve("--plot", picture, *args, table)
            self.assertEqual(run.returncode, 2, args)
            self.assertIn(complaint, run.stderr)
            self.assertEqual(run.stdout, "")
        run = self.solve("--plot", os.path.join(self.work, "p.jpg"), table)
        self.assertIn("must end in .svg, .png, .pdf", run.stderr)
        run = self.solve("--graph", picture, "--set", "arrival=1,2", table)
        self.assertIn("--graph draws the graph of one model", run.stderr)
        self.assertFalse(os.path.exists(picture))
        self.assertNoRunDirectory()


if __name__ == "__main__":
    import unittest
    unittest.main()
