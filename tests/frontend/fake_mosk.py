#!/usr/bin/env python3
"""A stand-in for mosk that follows its file protocol, for testing mosk-solve.

It reads the description named by -N (<net>.table) and obeys the lines of it
that start with "FAKE":
  FAKE measure NAME VALUE   a measure of every pass (VALUE is written as is)
  FAKE echo-delays          add the measure "delays" holding the pass's
                            delays file, words joined by "_"
  FAKE print TEXT           print TEXT (\\t and \\n are expanded) and go on
  FAKE exit STATUS          end with STATUS right after the printing
  FAKE direct-fails         without -I: report a zero pivot, exit 1
  FAKE sleep SECONDS        start a child that sleeps, then sleep; both
                            write their process ids to the file named by
                            FAKE pidfile PATH
  FAKE no-results           end without writing results
  FAKE measure-def NAME     a measure NAME holding the value of the
                            definition "\\NAME = value" of the description
  FAKE fail-when NAME TEXT  print an error report and end with status 252
                            when the definition NAME has the value TEXT
  FAKE sleep-def NAME       sleep as many seconds as the definition's value
  FAKE log PATH             append "start <pid>" and "end <pid>" lines
  FAKE pause SECONDS        sleep after the printing, then go on
Otherwise it runs the passes: it waits for <dir>/<pure>.BSdelays<n>, removes
it, and writes <dir>/<pure>.BSresults<n> until a file holds EXIT. It prints
its arguments and environment as "fake-mosk: ..." lines.
"""
import os
import re
import subprocess
import sys
import time


def main():
    args = sys.argv[1:]
    options = {}
    flags = []
    i = 0
    while i < len(args):
        if args[i] in ("-N", "-S", "-E", "-M"):
            options[args[i]] = args[i + 1]
            i += 2
        else:
            flags.append(args[i])
            i += 1
    print("fake-mosk: args " + " ".join(args))
    for name in ("HOME", "PLENARHOME", "MODELDIR"):
        print("fake-mosk: %s=%s" % (name, os.environ.get(name, "")))
    net = options["-N"]
    with open(net + ".table") as table:
        lines = [line.split(None, 2) for line in table if line.startswith("FAKE")]
    directives = [(words[1], words[2].strip() if len(words) > 2 else "") for words in lines]

    def value(key):
        return [text for name, text in directives if name == key]

    with open(net + ".table") as table:
        description = table.read()

    def definition(name):
        found = re.search(r"\\%s = (\S+)" % re.escape(name), description)
        return found.group(1) if found else "undefined"

    def log(event):
        for path in value("log"):
            with open(path, "a") as out:
                out.write("%s %d\n" % (event, os.getpid()))

    log("start")
    for name in value("sleep-def"):
        time.sleep(float(definition(name)))
    for text in value("fail-when"):
        name, bad = text.split()
        if definition(name) == bad:
            print("\nERROR occured\n\nfile\t\t : Cell\nline\t\t : 1\nfunction \t : Calc()\n"
                  "description\t : value given to exp. delay is zero or less than zero\n")
            log("end")
            sys.exit(252)

    for text in value("print"):
        sys.stdout.write(text.replace("\\t", "\t").replace("\\n", "\n") + "\n")
    sys.stdout.flush()
    for seconds in value("pause"):
        time.sleep(float(seconds))
    if value("exit"):
        sys.exit(int(value("exit")[0]))
    if value("direct-fails") and "-I" not in flags:
        print("\t\t ERROR: row number 3 has a zero pivot")
        sys.exit(1)
    if value("sleep"):
        seconds = value("sleep")[0]
        child = subprocess.Popen(["sleep", seconds])
        with open(value("pidfile")[0], "a") as pids:
            pids.write("%d %d\n" % (os.getpid(), child.pid))
        time.sleep(float(seconds))
    if value("no-results"):
        sys.exit(0)

    directory, base = os.path.split(net)
    pure = base.replace(".net", "", 1).replace("BS", "", 1)
    with open(os.path.join(directory, base + ".AUX"), "w") as aux:
        aux.write("TANGIBLE MARKINGS 7\n")
    measures = [text.split(None, 1) for text in value("measure")]
    measures += [(name, definition(name)) for name in value("measure-def")]
    n = 0
    while True:
        path = os.path.join(directory, "%s.BSdelays%d" % (pure, n))
        while not os.path.exists(path):
            time.sleep(0.05)
        with open(path) as delays:
            words = delays.read().split()
        os.remove(path)
        if words[0] == "EXIT":
            log("end")
            return
        print("\t solving LGS ...")
        print("\t\t solution with sor ...")
        print("\t\t iteration: GAUSS-SEIDEL, stopped on the estimated relative error")
        print("\t\t convergence in %d iterations with accuracy %g." % (10 + n, 1e-12 * (n + 1)))
        print("\t\t estimated relative error: %g" % (3e-11 * (n + 1)))
        with open(os.path.join(directory, "%s.BSresults%d" % (pure, n)), "w") as results:
            for name, text in measures:
                results.write("\\%s %s\n" % (name, text))
            if value("echo-delays"):
                results.write("\\delays %s\n" % "_".join(words))
            results.write("*#END#*\n")
        print("\t\t estimated relative error of the measures: %g" % (1e-11 * (n + 1)))
        n += 1


main()
