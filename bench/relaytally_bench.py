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

import os

import staytally_bench as bench

DELIVERIES = os.path.join(bench.ROOT, "tests", "data", "make-sample-deliveries.py")


def measure(program, deliveries, mailboxes, work):
    seed = bench.hotel_and_log_seed(DELIVERIES, "--deliveries", deliveries, mailboxes, work)
    return bench.measure_seed(program, seed, deliveries, work)


if __name__ == "__main__":
    bench.bench_main(__doc__, "deliveries", "row", "5000,10000", 150, measure,
                     lambda n, rows: rows if rows == 3 * n else None)
