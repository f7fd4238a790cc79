"""What the three report benchmarks share: seeding the test server
(tests/dbserver/server.py), running a report program and the bare driver
client (bareclient, the floor) against it, measuring each run's CPU time
(user + system), peak resident memory and the most database connections
held at once, checking that both sent the same queries, and printing the
figures.

Each count is measured on one seed: the floor and the program run in turn
on the same server, --repeat times, and the least CPU time of each is kept,
so that load from elsewhere on the machine weighs on both alike. The ratio
is the program's CPU time over the floor's. An empty window is measured
first; the per-row figures are the differences to it, divided by the row
count, so that start-up costs do not hide how the cost grows.

The server listens on 127.0.0.1:27017; run the benchmarks inside a private
network namespace when that port may be in use (unshare -n, see run.sh).

A program forked from the benchmark's interpreter would start with the
interpreter's resident size as its peak; every client is started through
peaklauncher (bench/PeakLauncher.cpp), a small process that reports the
client's own figures.
"""

import argparse
import os
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SERVER = os.path.join(ROOT, "tests", "dbserver", "server.py")
HOTEL = os.path.join(ROOT, "tests", "data", "make-sample-hotel.py")
PYTHON = "/usr/bin/python3"

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

# Talks to the server's control channel on stdin/stdout: fetches its request
# log, keeps the entries from argv[1] on, without what differs from run to
# run (connection numbers, cursor ids, the clock in the time range), writes
# them to argv[2] and, when argv[3] names an earlier such file, fails with
# the first difference. Prints the log's length on stderr.
REQUESTS = """
import json, sys
sys.stdout.buffer.write(b'{"cmd": "requests"}\\n')
sys.stdout.buffer.flush()
answer = sys.stdin.buffer.readline().split()
if not answer or answer[0] != b"OK":
    sys.exit("request log: %r" % answer)
total = int(answer[1])
entries = []
for i in range(total):
    line = sys.stdin.buffer.readline()
    if i < int(sys.argv[1]):
        continue
    entry = json.loads(line)
    entry.pop("connection", None)
    entry.pop("cursor", None)
    query = entry.get("query")
    if isinstance(query, dict) and isinstance(query.get("timestamp"), dict):
        for bound in query["timestamp"]:
            query["timestamp"][bound] = "<time>"
    entries.append(json.dumps(entry))
with open(sys.argv[2], "w") as f:
    f.write("".join(entry + "\\n" for entry in entries))
if len(sys.argv) > 3:
    with open(sys.argv[3]) as f:
        expected = f.read().splitlines()
    for i, (got, want) in enumerate(zip(entries, expected)):
        if got != want:
            sys.exit("request %d differs:\\n  %s\\n  %s" % (i + 1, want, got))
    if len(entries) != len(expected):
        sys.exit("%d requests instead of %d" % (len(entries), len(expected)))
sys.stderr.write("%d\\n" % total)
"""


class Server:
    """The test server on a seed file, in control mode, so that its request
    log can be read; it ends when its control channel closes."""

    def __init__(self, seed_file, log):
        self.logged = 0
        # Unbuffered: the request log reader takes the channel over.
        self.process = subprocess.Popen([PYTHON, SERVER, "--control", "--seed", seed_file],
                                        stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        stderr=log, bufsize=0)
        ready = b""
        while not ready.endswith(b"\n"):
            byte = self.process.stdout.read(1)
            if not byte:
                break
            ready += byte
        if ready.strip() != b"ready":
            self.stop()
            log.flush()
            with open(log.name) as written:
                raise SystemExit("the test server did not start:\n" + written.read())

    def requests_since_last(self, out_file, expected_file=None):
        """Writes the requests since the previous call to out_file; fails
        when they differ from those in expected_file."""
        args = [PYTHON, "-c", REQUESTS, str(self.logged), out_file]
        if expected_file:
            args.append(expected_file)
        done = subprocess.run(args, stdin=self.process.stdout, stdout=self.process.stdin,
                              stderr=subprocess.PIPE, text=True)
        if done.returncode != 0:
            raise SystemExit("the queries differ from the floor's: " + done.stderr.strip())
        self.logged = int(done.stderr)

    def stop(self):
        self.process.stdin.close()
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        self.process.stdout.close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()


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


class Run:
    """One client run through launcher (peaklauncher): cpu = (user, system)
    seconds, rss = peak resident KiB, connections = the most sockets seen
    open at once."""

    def __init__(self, launcher, argv):
        child = subprocess.Popen([launcher] + argv, stdout=subprocess.PIPE,
                                 stderr=subprocess.PIPE)
        started = child.stdout.readline().split()
        most = 0
        while started and child.poll() is None:
            most = max(most, socket_count(int(started[0])))
            time.sleep(0.003)
        ended = child.stdout.read().split()
        child.wait()
        err = child.stderr.read().decode(errors="replace")
        child.stdout.close()
        child.stderr.close()
        if len(ended) != 4:
            raise SystemExit("%s did not start: %s" % (os.path.basename(argv[0]), err.strip()))
        status = int(ended[0])
        if not os.WIFEXITED(status) or os.WEXITSTATUS(status) != 0:
            raise SystemExit("%s failed (%s): %s"
                             % (os.path.basename(argv[0]), status, err.strip()))
        self.cpu = (float(ended[1]), float(ended[2]))
        self.rss = int(ended[3])
        self.connections = most

    def total(self):
        return sum(self.cpu)


def least(runs):
    """The figures of several runs of one client: the least CPU time and
    memory, the most connections."""
    best = min(runs, key=Run.total)
    best.rss = min(run.rss for run in runs)
    best.connections = max(run.connections for run in runs)
    return best


def hotel_seed(mailboxes, activities, out):
    subprocess.run([PYTHON, HOTEL, "--out", out, "--guests", str(mailboxes),
                    "--activities", str(activities), "--hours", "23"], check=True)


def hotel_and_log_seed(generator, option, count, mailboxes, work):
    """One seed file: the hotel without guest activity, and the log that
    generator writes for it with count (option) entries."""
    hotel = os.path.join(work, "hotel.json")
    hotel_seed(mailboxes, 0, hotel)
    log = os.path.join(work, "log-%d.json" % count)
    subprocess.run([PYTHON, generator, "--hotel", hotel, "--out", log,
                    option, str(count), "--hours", "23"], check=True)
    path = os.path.join(work, "seed-%d.json" % count)
    subprocess.run([PYTHON, "-c", MERGE, hotel, log, path], check=True)
    return path


def measure_seed(launcher, program, floor, seed, count, repeat, work, before=None):
    """Serves seed, runs the floor and the program (and the earlier build
    before, when given) over it repeat times in turn, checks on the first
    turn that all sent the same queries, and returns (floor Run, program
    Run, report rows, before Run or None)."""
    name = os.path.basename(program)
    floor_runs, program_runs, before_runs = [], [], []
    # A relative report path: one beginning with "/" would be taken for an
    # option of its own.
    report = "report-%d.csv" % count
    floor_log = os.path.join(work, "floor-requests-%d.log" % count)
    program_log = os.path.join(work, "program-requests-%d.log" % count)
    with open(os.path.join(work, "server-%d.log" % count), "w") as log, Server(seed, log) as server:
        for turn in range(repeat):
            floor_runs.append(Run(launcher, [floor, name, "24"]))
            if turn == 0:
                server.requests_since_last(floor_log)
            # The run straight after the floor's comes out dearer, the same
            # build in both places some 10% so: the program and the earlier
            # build take that place in turn.
            clients = [(program, program_runs)]
            if before:
                clients.append((before, before_runs))
                if turn % 2 == 1:
                    clients.reverse()
            for client, runs in clients:
                runs.append(Run(launcher, [client, "-hours", "24", "~file", report]))
                if turn == 0:
                    server.requests_since_last(program_log, floor_log)
    with open(report, "rb") as f:
        rows = sum(1 for _ in f) - 1
    return least(floor_runs), least(program_runs), rows, least(before_runs) if before else None


def print_figures(label, unit, counts, measure, units_of):
    """Measures the empty window, then each count, and prints the figures:
    measure(count) gives measure_seed's result, units_of(count, rows) the
    number of units to divide the growth by (None when rows is wrong)."""
    base_floor, base, _, base_before = measure(0)
    print("empty window: cpu %.3f s (floor %.3f s, ratio %.2f), peak rss %.1f MiB, connections %d"
          % (base.total(), base_floor.total(), base.total() / base_floor.total(),
             base.rss / 1024.0, base.connections))
    if base_before:
        print("before: empty window cpu %.3f s (ratio %.2f), peak rss %.1f MiB"
              % (base_before.total(), base_before.total() / base_floor.total(),
                 base_before.rss / 1024.0))
    print("%10s %8s %8s %8s %6s %10s %10s %10s %10s %6s%s" % (
        label, "rows", "cpu s", "floor s", "ratio", "us/" + unit, "user us",
        "system us", "KiB/" + unit, "conns",
        " %8s %6s %10s" % ("before s", "ratio", "KiB/" + unit) if base_before else ""))
    for n in counts:
        floor, run, rows, before = measure(n)
        units = units_of(n, rows)
        if units is None:
            raise SystemExit("%d %s: unexpected row count %d" % (n, label, rows))
        user = (run.cpu[0] - base.cpu[0]) * 1e6 / units
        system = (run.cpu[1] - base.cpu[1]) * 1e6 / units
        print("%10d %8d %8.3f %8.3f %6.2f %10.2f %10.2f %10.2f %10.3f %6d%s"
              % (n, rows, run.total(), floor.total(), run.total() / floor.total(),
                 user + system, user, system, (run.rss - base.rss) / float(units),
                 run.connections,
                 " %8.3f %6.2f %10.3f" % (before.total(), before.total() / floor.total(),
                                          (before.rss - base_before.rss) / float(units))
                 if before else ""))
        sys.stdout.flush()


def bench_main(doc, count_option, unit, default_counts, default_mailboxes, make_seed, units_of):
    """The benchmarks' common command line: --program, --floor, --launcher, the counts
    (a comma list, --<count_option>), --mailboxes and --repeat;
    make_seed(count, mailboxes, work) writes the seed file of one count in
    the temporary directory work and returns its path."""
    parser = argparse.ArgumentParser(description=doc.splitlines()[0])
    parser.add_argument("--program", required=True)
    parser.add_argument("--floor", required=True, help="the bareclient program")
    parser.add_argument("--launcher", required=True, help="the peaklauncher program")
    parser.add_argument("--" + count_option, default=default_counts)
    parser.add_argument("--mailboxes", type=int, default=default_mailboxes)
    parser.add_argument("--repeat", type=int, default=3)
    parser.add_argument("--before", help="an earlier build of the program, measured alongside")
    args = parser.parse_args()
    program = os.path.abspath(args.program)
    floor = os.path.abspath(args.floor)
    launcher = os.path.abspath(args.launcher)
    before = os.path.abspath(args.before) if args.before else None
    counts = [int(n) for n in getattr(args, count_option).split(",") if n]
    name = os.path.basename(program)
    with tempfile.TemporaryDirectory(prefix=name + "-bench-") as work:
        os.chdir(work)

        def measure(n):
            seed = make_seed(n, args.mailboxes, work)
            return measure_seed(launcher, program, floor, seed, n, max(1, args.repeat), work,
                                before)

        print_figures(count_option, unit, counts, measure, units_of)
