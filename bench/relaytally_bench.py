#!/usr/bin/python3
"""Measures what relaytally costs per report row.

For each delivery count it seeds the test server (tests/dbserver/server.py,
standalone mode) with the sample hotel's mailboxes and that many message
deliveries of three activity entries each (three rows per delivery), runs
relaytally once over the window to a file, and reports the client's CPU time
(user + system), its peak resident memory and the most database connections
it held at once, as staytally_bench.py measures them. An empty window is
measured first; the per-row figures are the differences to it, divided by
the row count.

  relaytally_bench.py --program build/bench/utilities/relaytally/relaytally
                      [--deliveries 5000,10000] [--mailboxes 150]

The server listens on 127.0.0.1:27017; run the script inside a private
network namespace when that port may be in use (unshare -n, see run.sh).
"""

import argparse
import os
import subprocess
import sys
import tempfile

import staytally_bench as bench

HOTEL = os.path.join(bench.ROOT, "tests", "data", "make-sample-hotel.py")
DELIVERIES = os.path.join(bench.ROOT, "tests", "data", "make-sample-deliveries.py")

# Writes the collections of the seed files argv[1:-1] into one file argv[-1].
MERGE = """
import json, sys
content = {}
for path in sys.argv[1:-1]:
    with open(path) as f:
        content.update(json.load(f))
with open(sys.argv[-1], "w") as f:
    json.dump(content, f)
"""


def seed_file(deliveries, mailboxes, work):
    """One seed file: the hotel without guest activity, and the deliveries."""
    hotel = os.path.join(work, "hotel.json")
    subprocess.run([bench.PYTHON, HOTEL, "--out", hotel, "--guests", str(mailboxes),
                    "--activities", "0"], check=True)
    mds = os.path.join(work, "deliveries-%d.json" % deliveries)
    subprocess.run([bench.PYTHON, DELIVERIES, "--hotel", hotel, "--out", mds,
                    "--deliveries", str(deliveries), "--hours", "23"], check=True)
    # Merged in a child process: the report program is forked from this one,
    # and its peak memory would count every page this process had touched.
    path = os.path.join(work, "seed-%d.json" % deliveries)
    subprocess.run([bench.PYTHON, "-c", MERGE, hotel, mds, path], check=True)
    return path


def measure(program, deliveries, mailboxes, work):
    seed = seed_file(deliveries, mailboxes, work)
    with open(os.path.join(work, "server-%d.log" % deliveries), "w") as log:
        server = bench.start_server(seed, log)
        try:
            # A relative report path: one beginning with "/" would be taken
            # for an option of its own.
            return bench.run_report(program, "report-%d.csv" % deliveries)
        finally:
            bench.stop_server(server)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True)
    parser.add_argument("--deliveries", default="5000,10000")
    parser.add_argument("--mailboxes", type=int, default=150)
    args = parser.parse_args()
    program = os.path.abspath(args.program)
    counts = [int(n) for n in args.deliveries.split(",") if n]

    with tempfile.TemporaryDirectory(prefix="relaytally-bench-") as work:
        os.chdir(work)
        base_cpu, base_rss, base_conn, _ = measure(program, 0, args.mailboxes, work)
        print("empty window: cpu %.3f s, peak rss %.1f MiB, connections %d"
              % (base_cpu, base_rss / 1024.0, base_conn))
        print("%10s %8s %10s %12s %12s %12s" % ("deliveries", "rows", "cpu s", "cpu us/row",
                                               "rss KiB/row", "connections"))
        for n in counts:
            cpu, rss, conn, rows = measure(program, n, args.mailboxes, work)
            if rows != 3 * n:
                raise SystemExit("expected %d rows, the report has %d" % (3 * n, rows))
            print("%10d %8d %10.3f %12.2f %12.3f %12d"
                  % (n, rows, cpu, (cpu - base_cpu) * 1e6 / rows, (rss - base_rss) / float(rows),
                     conn))
            sys.stdout.flush()


if __name__ == "__main__":
    main()
