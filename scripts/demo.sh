#!/usr/bin/env bash
# The sample run on a fresh machine: builds staytally, relaytally and
# dawntally, starts the bundled test database server seeded with the sample
# hotel (a day of guest activity, message deliveries and wake-up calls
# time-stamped relative to now), prints the guest activity, message delivery
# and wake-up call reports of the last 24 hours as CSV, and stops the server
# again on the way out.
#
# As root it first installs the dependencies (scripts/install-deps.sh; set
# QX_SKIP_INSTALL=1 to skip); otherwise it needs them installed already.
# The server listens on 127.0.0.1:27017, which must be free.
# QX_DEMO_BUILD names the build folder (default build/demo, reused if there).
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "$(id -u)" -eq 0 ] && [ "${QX_SKIP_INSTALL:-0}" != 1 ]; then
  bash scripts/install-deps.sh
fi

build=${QX_DEMO_BUILD:-build/demo}
echo "== building staytally, relaytally and dawntally in $build" >&2
cmake -S . -B "$build" -DQX_WERROR=OFF -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target staytally relaytally dawntally >/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/staytally-demo.XXXXXX")
server=""
cleanup() {
  if [ -n "$server" ] && kill -0 "$server" 2>/dev/null; then
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

/usr/bin/python3 tests/data/make-sample-hotel.py --out "$work/hotel.json"
/usr/bin/python3 tests/data/make-sample-deliveries.py --hotel "$work/hotel.json" \
  --out "$work/deliveries.json"
/usr/bin/python3 tests/data/make-sample-wakeups.py --hotel "$work/hotel.json" \
  --out "$work/wakeups.json"

/usr/bin/python3 tests/dbserver/server.py --seed "$work/hotel.json" "$work/deliveries.json" \
  "$work/wakeups.json" </dev/null >"$work/server.out" 2>"$work/server.err" &
server=$!

for _ in $(seq 1 200); do
  if grep -qx ready "$work/server.out" 2>/dev/null; then
    break
  fi
  if ! kill -0 "$server" 2>/dev/null; then
    echo "demo: the test server did not start:" >&2
    cat "$work/server.err" >&2
    exit 1
  fi
  sleep 0.1
done
if ! grep -qx ready "$work/server.out"; then
  echo "demo: the test server did not become ready" >&2
  exit 1
fi

echo "== staytally -hours 24" >&2
"$build/utilities/staytally/staytally" -hours 24

echo "== relaytally -hours 24" >&2
"$build/utilities/relaytally/relaytally" -hours 24

echo "== dawntally -hours 24" >&2
"$build/utilities/dawntally/dawntally" -hours 24
