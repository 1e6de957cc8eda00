// Stand-ins for the worker programs, for runs of the engine's side of the
// protocols: a script that connects like kiln_da or ekiln, takes the data
// stream, leaves what it saw in FAKE_WORKER_LOG and answers as
// FAKE_WORKER_MODE says ("ready", "close": end without "ready.", "never":
// end without connecting); and a remote shell that runs its command here.
#pragma once

constexpr const char* kFakeWorker = R"(#!/usr/bin/env python3
import os, socket, sys, time
name = os.path.basename(sys.argv[0])
mode = os.environ.get("FAKE_WORKER_MODE", "ready")
log = os.environ["FAKE_WORKER_LOG"]
if mode == "never":
    sys.exit(0)
sock = socket.create_connection((sys.argv[1], int(sys.argv[2])))
data = b""
sock.settimeout(0.3)
try:
    while True:
        chunk = sock.recv(65536)
        if not chunk:
            break
        data += chunk
except socket.timeout:
    pass
start = time.time()
number = int.from_bytes(data[:4], sys.byteorder, signed=True)
tag = os.path.join(log, "%s-%d" % (name, number))
with open(tag + ".stream", "wb") as f:
    f.write(data)
with open(tag + ".args", "w") as f:
    f.write(" ".join(sys.argv[1:]) + "\n")
if name == "kiln_da":
    order = os.path.join(sys.argv[5], "%s.SMCORDER%02d" % (sys.argv[3], number))
    with open(tag + ".order", "w") as f:
        f.write(open(order).read() if os.path.exists(order) else "none")
time.sleep(float(os.environ.get("FAKE_WORKER_SLEEP", "0")))
with open(tag + ".times", "w") as f:
    f.write("%f %f\n" % (start, time.time()))
if mode == "ready":
    cpu = "Elapsed CPU time 0:1:2.5" if name == "kiln_da" else "Elapsed CPU time: 62.5"
    sock.sendall(("a note\n%s\nready.\n" % cpu).encode())
sock.close()
)";

// "<shell> <host> -n <command...>": a load query gets a fixed answer, any
// other command runs on this host; each call is logged.
constexpr const char* kFakeRemoteShell = R"(#!/bin/sh
echo "$*" >> "$FAKE_WORKER_LOG/shell"
shift
[ "$1" = -n ] && shift
if [ "$1" = cat ]; then echo "0.50 0.40 0.30 1/99 1234"; exit 0; fi
exec "$@"
)";
