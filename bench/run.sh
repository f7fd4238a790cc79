#!/usr/bin/env bash
# Builds staytally and the bare driver client optimised and runs the
# per-record benchmark for 20,000 and 40,000 guest activity records over 500
# mailboxes. Arguments are passed on to staytally_bench.py (e.g.
# --records 10000,20000,40000 --mailboxes 3000 --repeat 5).
# A first argument naming another report program runs its benchmark instead:
#   bench/run.sh relaytally [--deliveries 6667,13333]   (relaytally_bench.py)
#   bench/run.sh dawntally [--events 20000,40000]       (dawntally_bench.py)
# As root the run gets its own network namespace, so that the benchmark's
# server does not meet another on 127.0.0.1:27017.
set -euo pipefail
cd "$(dirname "$0")/.."

program=staytally
case "${1:-}" in
  staytally | relaytally | dawntally) program=$1; shift ;;
esac

build=${QX_BENCH_BUILD:-build/bench}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DQX_WERROR=OFF -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target "$program" bareclient peaklauncher >/dev/null

bench=(/usr/bin/python3 "bench/${program}_bench.py" --program "$build/utilities/$program/$program"
  --floor "$build/bench/bareclient" --launcher "$build/bench/peaklauncher" "$@")
if [ "$(id -u)" -eq 0 ] && [ -z "${QX_BENCH_IN_NETNS:-}" ]; then
  exec unshare -n env QX_BENCH_IN_NETNS=1 sh -c 'ip link set lo up && exec "$@"' sh "${bench[@]}"
fi
exec "${bench[@]}"
