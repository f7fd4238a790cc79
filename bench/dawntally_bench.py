#!/usr/bin/python3
"""Measures what dawntally costs per report row.

For each event count it seeds the test server (tests/dbserver/server.py,
standalone mode) with the sample hotel's mailboxes and that many wake-up
events (one row each), runs dawntally once over the window to a file, and
reports the client's CPU time (user + system), its peak resident memory and
the most database connections it held at once, as staytally_bench.py
measures them. An empty window is measured first; the per-row figures are
the differences to it, divided by the row count.

  dawntally_bench.py --program build/bench/utilities/dawntally/dawntally
                     [--events 20000,40000] [--mailboxes 500]

The server listens on 127.0.0.1:27017; run the script inside a private
network namespace when that port may be in use (unshare -n, see run.sh).
"""

import argparse
import json
import os
import subprocess
import sys
import tempfile

import staytally_bench as bench

HOTEL = os.path.join(bench.ROOT, "tests", "data", "make-sample-hotel.py")
WAKEUPS = os.path.join(bench.ROOT, "tests", "data", "make-sample-wakeups.py")


def seed_file(events, mailboxes, work):
    """One seed file: the hotel without guest activity, and the wake-up log."""
    hotel = os.path.join(work, "hotel.json")
    subprocess.run([bench.PYTHON, HOTEL, "--out", hotel, "--guests", str(mailboxes),
                    "--activities", "0"], check=True)
    log = os.path.join(work, "wakeups-%d.json" % events)
    subprocess.run([bench.PYTHON, WAKEUPS, "--hotel", hotel, "--out", log,
                    "--events", str(events), "--hours", "23"], check=True)
    with open(hotel) as f:
        content = json.load(f)
    with open(log) as f:
        content.update(json.load(f))
    path = os.path.join(work, "seed-%d.json" % events)
    with open(path, "w") as f:
        json.dump(content, f)
    return path


def measure(program, events, mailboxes, work):
    seed = seed_file(events, mailboxes, work)
    with open(os.path.join(work, "server-%d.log" % events), "w") as log:
        server = bench.start_server(seed, log)
        try:
            # A relative report path: one beginning with "/" would be taken
            # for an option of its own.
            return bench.run_report(program, "report-%d.csv" % events)
        finally:
            bench.stop_server(server)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True)
    parser.add_argument("--events", default="20000,40000")
    parser.add_argument("--mailboxes", type=int, default=500)
    args = parser.parse_args()
    program = os.path.abspath(args.program)
    counts = [int(n) for n in args.events.split(",") if n]

    with tempfile.TemporaryDirectory(prefix="dawntally-bench-") as work:
        os.chdir(work)
        base_cpu, base_rss, base_conn, _ = measure(program, 0, args.mailboxes, work)
        print("empty window: cpu %.3f s, peak rss %.1f MiB, connections %d"
              % (base_cpu, base_rss / 1024.0, base_conn))
        print("%8s %8s %10s %12s %12s %12s" % ("events", "rows", "cpu s", "cpu us/row",
                                              "rss KiB/row", "connections"))
        for n in counts:
            cpu, rss, conn, rows = measure(program, n, args.mailboxes, work)
            if rows != n:
                raise SystemExit("expected %d rows, the report has %d" % (n, rows))
            print("%8d %8d %10.3f %12.2f %12.3f %12d"
                  % (n, rows, cpu, (cpu - base_cpu) * 1e6 / rows, (rss - base_rss) / float(rows),
                     conn))
            sys.stdout.flush()


if __name__ == "__main__":
    main()
