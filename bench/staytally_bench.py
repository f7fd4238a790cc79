#!/usr/bin/python3
"""Measures what staytally costs per guest activity record.

For each record count it seeds the test server with a sample hotel of that
many activities over a fixed number of guest mailboxes and runs staytally
over the window to a file, and the bare driver client beside it (see
common.py for the figures).

  staytally_bench.py --program build/bench/utilities/staytally/staytally
                     --floor build/bench/bench/bareclient
                     [--records 20000,40000] [--mailboxes 500] [--repeat 3]
"""

import os

import common


def make_seed(records, mailboxes, work):
    seed = os.path.join(work, "hotel-%d.json" % records)
    common.hotel_seed(mailboxes, records, seed)
    return seed


if __name__ == "__main__":
    common.bench_main(__doc__, "records", "record", "20000,40000", 500, make_seed,
                      lambda n, rows: n)
