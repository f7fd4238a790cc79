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
import resource
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
        raise SystemExit("staytally failed (%s): %s" % (status, err.strip()))
    with open(out_file, "rb") as f:
        rows = sum(1 for _ in f) - 1
    return (usage.ru_utime, usage.ru_stime), usage.ru_maxrss, most, rows


def measure(program, records, mailboxes, work):
    seed = os.path.join(work, "hotel-%d.json" % records)
    subprocess.run([PYTHON, GENERATOR, "--out", seed, "--guests", str(mailboxes),
                    "--activities", str(records), "--hours", "23"], check=True)
    with open(os.path.join(work, "server-%d.log" % records), "w") as log:
        server = start_server(seed, log)
        try:
            return run_report(program, os.path.join(work, "report-%d.csv" % records))
        finally:
            stop_server(server)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True)
    parser.add_argument("--records", default="20000,40000")
    parser.add_argument("--mailboxes", type=int, default=500)
    args = parser.parse_args()
    counts = [int(n) for n in args.records.split(",") if n]

    with tempfile.TemporaryDirectory(prefix="staytally-bench-") as work:
        base_cpu, base_rss, base_conn, _ = measure(args.program, 0, args.mailboxes, work)
        print("empty window: cpu %.3f s, peak rss %.1f MiB, connections %d"
              % (sum(base_cpu), base_rss / 1024.0, base_conn))
        print("%8s %8s %8s %14s %10s %10s %12s %12s" % (
            "records", "rows", "cpu s", "cpu us/record", "user us", "system us",
            "rss KiB/rec", "connections"))
        for n in counts:
            cpu, rss, conn, rows = measure(args.program, n, args.mailboxes, work)
            user = (cpu[0] - base_cpu[0]) * 1e6 / n
            system = (cpu[1] - base_cpu[1]) * 1e6 / n
            print("%8d %8d %8.3f %14.2f %10.2f %10.2f %12.2f %12d"
                  % (n, rows, sum(cpu), user + system, user, system,
                     (rss - base_rss) / float(n), conn))
            sys.stdout.flush()


if __name__ == "__main__":
    main()
