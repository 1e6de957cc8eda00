#!/usr/bin/env python3
"""Guards the graph stages against changes of behaviour: runs mosk with the
graph listing (-r) and the store's distribution (-H) on small members of the
benchmark families and compares checksums of both listings with the ones
recorded in golden_listings.txt. Any change to markings, their numbering,
edge order or values, or the store's tree shapes, changes a checksum.

usage: check_listings.py <mosk> [--record]
"""
import hashlib
import os
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from models import MODELS  # noqa: E402
from run_bench import make_environment, run_on_pty  # noqa: E402

GOLDEN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "golden_listings.txt")
CASES = (("kanban", 2), ("fms", 2), ("colours", 2), ("colours", 4), ("dspn", 4), ("dspn", 8))
SECTIONS = ("RRG", "HASH DISTRIBUTION")


def section(lines, name):
    """The lines from the section's start frame to its stop frame."""
    start, stop = "start ->->->->->->->-> " + name, "stop  ->->->->->->->-> " + name
    inside, picked = False, []
    for line in lines:
        inside = inside or line.startswith(start)
        if inside:
            picked.append(line)
        if line.startswith(stop):
            break
    return picked


def checksums(mosk, model, size):
    with tempfile.TemporaryDirectory(prefix="mosk-listing.") as work:
        env, models = make_environment(work, mosk)
        name = "%s%d" % (model, size)
        with open(os.path.join(models, name + ".table"), "w") as f:
            f.write(MODELS[model][0](size))
        for k, text in ((0, "0\n*#END#*\n"), (1, "EXIT\n*#END#*\n")):
            with open(os.path.join(models, "%s.BSdelays%d" % (name, k)), "w") as f:
                f.write(text)
        argv = [mosk, "-r", "-H", "-N", os.path.join(models, name), "-S", "BS", "-E", "1e-8", "-M", "1000"]
        lines, _, status, _ = run_on_pty(argv, env, work)
    texts = [line for _, line in lines]
    sums = []
    for name in SECTIONS:
        picked = section(texts, name)
        sums.append(hashlib.sha256("\n".join(picked).encode("latin-1")).hexdigest()[:16] if picked else "none")
    return status, sums


def main():
    mosk = os.path.abspath(sys.argv[1])
    record = "--record" in sys.argv
    golden = {}
    if not record:
        with open(GOLDEN) as f:
            for line in f:
                if line.strip() and not line.startswith("#"):
                    model, size, *sums = line.split()
                    golden[(model, int(size))] = sums
    out, failed = [], 0
    for model, size in CASES:
        status, sums = checksums(mosk, model, size)
        out.append("%s %d %s" % (model, size, " ".join(sums)))
        # The listings come before the solution: a failed solution (a worker
        # that is missing, say) does not make them wrong.
        if "none" in sums or (not record and golden.get((model, size)) != sums):
            failed += 1
            print("%s %d: status %d, listings %s, expected %s" % (model, size, status, sums,
                                                               golden.get((model, size))))
    if record:
        with open(GOLDEN, "w") as f:
            f.write("# model size sha256(graph listing) sha256(store distribution), first 16 digits\n")
            f.write("\n".join(out) + "\n")
    print("%d passed, %d failed" % (len(CASES) - failed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
