#!/usr/bin/python3
"""Measures what relaytally costs per report row.

For each delivery count it seeds the test server with the sample hotel's
mailboxes and that many message deliveries of three activity entries each
(three rows per delivery), runs relaytally over the window to a file, and
the bare driver client beside it (see common.py for the figures). The
default counts give about 20,000 and 40,000 rows.

  relaytally_bench.py --program build/bench/utilities/relaytally/relaytally
                      --floor build/bench/bench/bareclient
                      [--deliveries 6667,13333] [--mailboxes 150] [--repeat 3]
"""

import os

import common

DELIVERIES = os.path.join(common.ROOT, "tests", "data", "make-sample-deliveries.py")


def make_seed(deliveries, mailboxes, work):
    return common.hotel_and_log_seed(DELIVERIES, "--deliveries", deliveries, mailboxes, work)


if __name__ == "__main__":
    common.bench_main(__doc__, "deliveries", "row", "6667,13333", 150, make_seed,
                      lambda n, rows: rows if rows == 3 * n else None)
