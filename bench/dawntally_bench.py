#!/usr/bin/python3
"""Measures what dawntally costs per report row.

For each event count it seeds the test server with the sample hotel's
mailboxes and that many wake-up events (one row each), runs dawntally over
the window to a file, and the bare driver client beside it (see common.py
for the figures).

  dawntally_bench.py --program build/bench/utilities/dawntally/dawntally
                     --floor build/bench/bench/bareclient
                     [--events 20000,40000] [--mailboxes 500] [--repeat 3]
"""

import os

import common

WAKEUPS = os.path.join(common.ROOT, "tests", "data", "make-sample-wakeups.py")


def make_seed(events, mailboxes, work):
    return common.hotel_and_log_seed(WAKEUPS, "--events", events, mailboxes, work)


if __name__ == "__main__":
    common.bench_main(__doc__, "events", "row", "20000,40000", 500, make_seed,
                      lambda n, rows: rows if rows == n else None)
