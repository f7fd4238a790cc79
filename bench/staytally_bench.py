#!/usr/bin/python3
"""Measures what staytally costs per guest activity record.

For each record count it seeds the test server (tests/dbserver/server.py,
standalone mode) with a sample hotel of that many activities over a fixed
number of guest mailboxes, runs staytally once over the window to a file,
and reports the client's CPU time (user + system), its peak resident memory,
and the most database connections it held at once (socket descriptors of
the process, sampled every few milliseconds). An empty window is measured
first; the per-record figures are the differences to it, divided by the
record count, so that start-up costs do not hide how the cost grows.

  staytally_bench.py --program build/bench/utilities/staytally/staytally
                     [--records 20000,40000] [--mailboxes 500]

The server listens on 127.0.0.1:27017; run the script inside a private
network namespace when that port may be in use (unshare -n, see run.sh).
"""

import argparse
import os
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SERVER = os.path.join(ROOT, "tests", "dbserver", "server.py")
GENERATOR = os.path.join(ROOT, "tests", "data", "make-sample-hotel.py")
PYTHON = "/usr/bin/python3"


def start_server(seed_file, log):
    server = subprocess.Popen([PYTHON, SERVER, "--seed", seed_file],
                              stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                              stderr=log, text=True)
    deadline = time.monotonic() + 300
    while time.monotonic() < deadline:
        line = server.stdout.readline()
        if not line:
            break
        if line.strip() == "ready":
            return server
    server.kill()
    server.wait()
    log.flush()
    with open(log.name) as written:
        raise SystemExit("the test server did not start:\n" + written.read())


def stop_server(server):
    server.terminate()
    try:
        server.wait(timeout=10)
    except subprocess.TimeoutExpired:
        server.kill()
        server.wait()


def socket_count(pid):
    count = 0
    try:
        for fd in os.listdir("/proc/%d/fd" % pid):
            try:
                if os.readlink("/proc/%d/fd/%s" % (pid, fd)).startswith("socket:"):
                    count += 1
            except OSError:
                pass
    except OSError:
        pass
    return count


def run_report(program, out_file):
    """Runs one report; returns ((user, system) cpu seconds, peak RSS in KiB,
    most sockets, rows)."""
    child = subprocess.Popen([program, "-hours", "24", "~file", out_file],
                             stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    most = 0
    while True:
        pid, status, usage = os.wait4(child.pid, os.WNOHANG)
        if pid:
            break
        most = max(most, socket_count(child.pid))
        time.sleep(0.003)
    err = child.stderr.read().decode(errors="replace")
    child.stderr.close()
    if not os.WIFEXITED(status) or os.WEXITSTATUS(status) != 0:
        raise SystemExit("%s failed (%s): %s"
                         % (os.path.basename(program), status, err.strip()))
    with open(out_file, "rb") as f:
        rows = sum(1 for _ in f) - 1
    return (usage.ru_utime, usage.ru_stime), usage.ru_maxrss, most, rows


def hotel_seed(mailboxes, activities, out):
    subprocess.run([PYTHON, GENERATOR, "--out", out, "--guests", str(mailboxes),
                    "--activities", str(activities), "--hours", "23"], check=True)


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


def hotel_and_log_seed(generator, option, count, mailboxes, work):
    """One seed file: the hotel without guest activity, and the log that
    generator writes for it with count (option) entries."""
    hotel = os.path.join(work, "hotel.json")
    hotel_seed(mailboxes, 0, hotel)
    log = os.path.join(work, "log-%d.json" % count)
    subprocess.run([PYTHON, generator, "--hotel", hotel, "--out", log,
                    option, str(count), "--hours", "23"], check=True)
    # Merged in a child process: the report program is forked from this one,
    # and its peak memory would count every page this process had touched.
    path = os.path.join(work, "seed-%d.json" % count)
    subprocess.run([PYTHON, "-c", MERGE, hotel, log, path], check=True)
    return path


def measure_seed(program, seed, count, work):
    """Serves seed and runs the report over it once (see run_report)."""
    with open(os.path.join(work, "server-%d.log" % count), "w") as log:
        server = start_server(seed, log)
        try:
            # A relative report path: one beginning with "/" would be taken
            # for an option of its own.
            return run_report(program, "report-%d.csv" % count)
        finally:
            stop_server(server)


def print_figures(label, unit, counts, measure, units_of):
    """Measures the empty window, then each count, and prints the per-unit
    figures: measure(count) gives run_report's result, units_of(count, rows)
    the number of units to divide the growth by (None when rows is wrong)."""
    base_cpu, base_rss, base_conn, _ = measure(0)
    print("empty window: cpu %.3f s, peak rss %.1f MiB, connections %d"
          % (sum(base_cpu), base_rss / 1024.0, base_conn))
    print("%10s %8s %8s %14s %10s %10s %12s %12s" % (
        label, "rows", "cpu s", "cpu us/" + unit, "user us", "system us",
        "rss KiB/" + unit, "connections"))
    for n in counts:
        cpu, rss, conn, rows = measure(n)
        units = units_of(n, rows)
        if units is None:
            raise SystemExit("%d %s: unexpected row count %d" % (n, label, rows))
        user = (cpu[0] - base_cpu[0]) * 1e6 / units
        system = (cpu[1] - base_cpu[1]) * 1e6 / units
        print("%10d %8d %8.3f %14.2f %10.2f %10.2f %12.3f %12d"
              % (n, rows, sum(cpu), user + system, user, system,
                 (rss - base_rss) / float(units), conn))
        sys.stdout.flush()


def bench_main(doc, count_option, unit, default_counts, default_mailboxes, measure, units_of):
    """The scripts' common command line: --program, the counts (a comma
    list, --<count_option>) and --mailboxes; measure(program, count,
    mailboxes, work) runs in the temporary directory work."""
    parser = argparse.ArgumentParser(description=doc.splitlines()[0])
    parser.add_argument("--program", required=True)
    parser.add_argument("--" + count_option, default=default_counts)
    parser.add_argument("--mailboxes", type=int, default=default_mailboxes)
    args = parser.parse_args()
    program = os.path.abspath(args.program)
    counts = [int(n) for n in getattr(args, count_option).split(",") if n]
    name = os.path.basename(program)
    with tempfile.TemporaryDirectory(prefix=name + "-bench-") as work:
        os.chdir(work)
        print_figures(count_option, unit, counts,
                      lambda n: measure(program, n, args.mailboxes, work), units_of)


def measure(program, records, mailboxes, work):
    seed = os.path.join(work, "hotel-%d.json" % records)
    hotel_seed(mailboxes, records, seed)
    return measure_seed(program, seed, records, work)


if __name__ == "__main__":
    bench_main(__doc__, "records", "record", "20000,40000", 500, measure, lambda n, rows: n)
