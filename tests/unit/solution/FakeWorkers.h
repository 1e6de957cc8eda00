// Stand-ins for the worker programs, for runs of the engine's side of the
// protocols: a script that connects like kiln_da or ekiln, reads its data
// stream to the end by its layout (no timing: a slow engine only makes it
// wait), leaves what it saw in FAKE_WORKER_LOG and answers "ready.". With
// FAKE_WORKER_MEET = n it waits until n workers have their data (so those n
// ran side by side); "<tag>.others" tells how many other workers had their
// data and had not yet answered when it got its own.
#pragma once

constexpr const char* kFakeWorker = R"(#!/usr/bin/env python3
import glob, os, socket, struct, sys, time
name = os.path.basename(sys.argv[0])
log = os.environ["FAKE_WORKER_LOG"]
sock = socket.create_connection((sys.argv[1], int(sys.argv[2])))
data, at = b"", 0
def take(fmt):
    global data, at
    size = struct.calcsize("=" + fmt)
    while len(data) < at + size:
        chunk = sock.recv(65536)
        if not chunk:
            sys.exit("the stream ends early")
        data += chunk
    at += size
    return struct.unpack_from("=" + fmt, data, at - size)
if name == "kiln_da":
    number, states, _, preempting = take("7i")[:4]
    for _ in range(states):
        take("Id" * take("2i")[1])
        take("d" * take("i")[0])
    take("iidid")
    for _ in range(states):
        take("Id" * take("2i")[1])
    take("I" * preempting)
else:
    number = take("i")[0]
    take("%ds" % take("i")[0])
    members = 0
    while take("I")[0]:
        take("B")
        members += 1
    for _ in range(members):
        take("dI" * take("dII")[2])
    for _ in range(members):
        take("dI" * take("II")[1])
tag = os.path.join(log, "%s-%d" % (name, number))
others = len(glob.glob(log + "/*.started")) - len(glob.glob(log + "/*.done"))
open(tag + ".started", "w").close()
with open(tag + ".others", "w") as f:
    f.write(str(others))
with open(tag + ".stream", "wb") as f:
    f.write(data)
with open(tag + ".args", "w") as f:
    f.write(" ".join(sys.argv[1:]) + "\n")
deadline = time.time() + 30
while len(glob.glob(log + "/*.started")) < int(os.environ.get("FAKE_WORKER_MEET", "0")):
    if time.time() > deadline:
        sys.exit("no other worker came")
    time.sleep(0.01)
open(tag + ".done", "w").close()
cpu = "Elapsed CPU time 0:1:2.5" if name == "kiln_da" else "Elapsed CPU time: 62.5"
sock.sendall(("a note\n%s\nready.\n" % cpu).encode())
sock.close()
)";
