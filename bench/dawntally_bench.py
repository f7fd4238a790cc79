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

import os

import staytally_bench as bench

WAKEUPS = os.path.join(bench.ROOT, "tests", "data", "make-sample-wakeups.py")


def measure(program, events, mailboxes, work):
    seed = bench.hotel_and_log_seed(WAKEUPS, "--events", events, mailboxes, work)
    return bench.measure_seed(program, seed, events, work)


if __name__ == "__main__":
    bench.bench_main(__doc__, "events", "row", "20000,40000", 500, measure,
                     lambda n, rows: rows if rows == n else None)
