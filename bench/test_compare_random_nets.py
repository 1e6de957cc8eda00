#!/usr/bin/env python3
"""What compare_random_nets.py relies on: the shapes of its nets with
deterministic and general transitions, read back from their text, and which
files of two runs count as differing."""
import os
import re
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import compare_random_nets as compare  # noqa: E402

SEEDS = range(1, 301)
ARC = re.compile(r"(in|out)#(\w+) = ([\w.]+)")


def transitions(table):
    """Name, whether infinite-server, transition guard and the bindings of
    every transition, from the description's text."""
    found = []
    for line in table.splitlines():
        m = re.fullmatch(r"(\w+)( IS)? ?(\( [^)]* \) )?\[ (.*) \]", line)
        if m and not line.startswith("Parameter"):
            found.append((m.group(1), bool(m.group(2)), m.group(3) or "", m.group(4).split(" | ")))
    return found


def arcs(binding, direction):
    return [(place, colour) for way, place, colour in ARC.findall(binding) if way == direction]


def rank(slot):
    place, colour = slot
    return int(place[1:]), compare.COLOURS.index(colour)


def modes_enabling(guard, bindings):
    """The contents of Mode (0 or 1) in which a transition may be enabled."""
    modes = {0, 1}
    if "#Mode < 1" in guard:
        modes.discard(1)
    if all(("Mode", "e") in arcs(b, "in") for b in bindings):
        modes.discard(0)
    return modes


class DeterministicNets(unittest.TestCase):
    def setUp(self):
        self.nets = [compare.random_net(seed, True, 4, True) for seed in SEEDS]

    def test_immediate_firings_never_lead_back(self):
        checked = 0
        for net in self.nets:
            for name, _, _, bindings in transitions(net):
                for b in (b for b in bindings if "Immediate" in b):
                    (source,), (target,) = arcs(b, "in"), arcs(b, "out")
                    self.assertLess(rank(source), rank(target), net)
                    checked += 1
        self.assertGreater(checked, 500)

    def test_infinite_server_bindings_move_their_token(self):
        checked = 0
        for net in self.nets:
            for name, infinite, _, bindings in transitions(net):
                for b in bindings if infinite and name != "Onwards" else ():
                    self.assertNotEqual(arcs(b, "in"), arcs(b, "out"), net)
                    checked += 1
        self.assertGreater(checked, 500)

    def test_at_most_one_timed_transition_is_enabled(self):
        shapes = set()
        for net in self.nets:
            timed = [(guard, bindings) for name, _, guard, bindings in transitions(net)
                     if re.fullmatch(r"D\d", name)]
            shapes.add(len(timed))
            seen = set()
            for guard, bindings in timed:
                modes = modes_enabling(guard, bindings)
                self.assertFalse(seen & modes, net)
                seen |= modes
        self.assertEqual(shapes, {1, 2})

    def test_a_timed_transition_has_one_delay_and_a_net_one_family(self):
        kinds = set()
        for net in self.nets:
            delays = [{re.search(r"(Deterministic|Uniform|General)\(.*", b).group(0) for b in bindings}
                      for name, _, _, bindings in transitions(net) if re.fullmatch(r"D\d", name)]
            self.assertTrue(all(len(d) == 1 for d in delays), net)
            family = {d.pop().split("(")[0] for d in delays}
            self.assertFalse("Deterministic" in family and len(family) > 1, net)
            kinds |= family
        self.assertEqual(kinds, {"Deterministic", "Uniform", "General"})


class StationNets(unittest.TestCase):
    def setUp(self):
        self.nets = [compare.stations_net(seed) for seed in SEEDS]

    @staticmethod
    def station(place):
        return int(re.fullmatch(r"S(\d)P\d", place).group(1))

    def test_only_cross_firings_touch_two_stations(self):
        crossing = 0
        for net in self.nets:
            for name, _, _, bindings in transitions(net):
                for b in bindings:
                    touched = {self.station(p) for p, _ in arcs(b, "in") + arcs(b, "out")}
                    self.assertEqual(len(touched), 2 if name.startswith("X") else 1, (name, b))
                    if name.startswith("X"):
                        # One token moved within each of the two stations.
                        for s in touched:
                            moved = [(way, p) for way in ("in", "out") for p, _ in arcs(b, way)
                                     if self.station(p) == s]
                            self.assertEqual(sorted(w for w, _ in moved), ["in", "out"], b)
                        crossing += 1
        self.assertGreater(crossing, 300)

    def test_immediate_firings_move_on_and_often_take_the_same_token(self):
        shared = 0
        for net in self.nets:
            for name, _, _, bindings in transitions(net):
                immediate = [b for b in bindings if "Immediate" in b]
                for b in immediate:
                    (source,), (target,) = arcs(b, "in"), arcs(b, "out")
                    self.assertLess((source[0][-1], source[1]), (target[0][-1], target[1]), net)
                shared += len(immediate) > 2 and len({arcs(b, "in")[0] for b in immediate}) == 1
        self.assertGreater(shared, 100)


class Differences(unittest.TestCase):
    def runs(self, reference, candidate):
        top = tempfile.TemporaryDirectory()
        self.addCleanup(top.cleanup)
        sides = []
        for name, files in (("reference", reference), ("candidate", candidate)):
            side = os.path.join(top.name, name)
            os.mkdir(side)
            for file, text in files.items():
                with open(os.path.join(side, file), "wb") as f:
                    f.write(text)
            sides.append(side)
        return sides

    def test_a_file_on_one_side_only_differs(self):
        a, b = self.runs({"listing": b"x\n", "m.PROBMARK": b"1"}, {"listing": b"x\n"})
        self.assertEqual(compare.differences(a, b), ["m.PROBMARK"])

    def test_only_the_workers_lines_of_a_listing_are_left_out(self):
        a, b = self.runs({"listing": b"x\nkiln_da: writing to the engine: Broken pipe\n"},
                         {"listing": b"ekiln: bad data stream (header)\nx\n"})
        self.assertEqual(compare.differences(a, b), [])
        a, b = self.runs({"listing": b"x\nstop\n"}, {"listing": b"x\n"})
        self.assertEqual(compare.differences(a, b), ["listing"])

    def test_workers_chain_files_count_unless_the_runs_were_cut_short(self):
        files = {"m.EMC00": b"1", "m.CONV00": b"1", "m.EMC01": b"1", "m.CONV12": b"1"}
        a, b = self.runs(files, {name: b"2" for name in files})
        self.assertEqual(compare.differences(a, b), sorted(files))
        self.assertEqual(compare.differences(a, b, workers_cut_short=True), ["m.CONV00", "m.EMC00"])


if __name__ == "__main__":
    unittest.main()
