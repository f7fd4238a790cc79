#!/usr/bin/env bash
# Installs the dependencies, checks that the C++ sources keep the project's
# format (scripts/check-format.sh), then builds and runs the whole test suite
# three times: plain, under AddressSanitizer + UndefinedBehaviorSanitizer, and
# the threaded runtime tests under ThreadSanitizer. Fails on the first failure.
#
# The install needs root (apt-get). Run as another user, the script skips it
# and expects the packages of scripts/install-deps.sh to be there; set
# QX_SKIP_INSTALL=1 to skip it as root too.
#
# The database tests use 127.0.0.1:27017 and the machine-wide mail queue
# semaphore. As root, where unshare works, every ctest run gets its own
# network namespace (its own loopback) and mount namespace (its own
# /dev/shm), so the suite meets no other server or run on the machine;
# otherwise it runs in the machine's own and needs the port free.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${QX_SKIP_INSTALL:-0}" != 1 ]; then
  if [ "$(id -u)" -eq 0 ]; then
    bash scripts/install-deps.sh
  else
    echo "test.sh: not root, skipping the package install (scripts/install-deps.sh)" >&2
  fi
fi

bash scripts/check-format.sh

jobs=$(nproc)

isolate=()
if [ "$(id -u)" -eq 0 ] &&
  unshare -n -m sh -c 'ip link set lo up && mount -t tmpfs tmpfs /dev/shm' 2>/dev/null; then
  isolate=(unshare -n -m sh -c 'ip link set lo up && mount -t tmpfs tmpfs /dev/shm && exec "$@"' sh)
else
  echo "test.sh: no private namespaces here; the tests use the machine's 127.0.0.1:27017" >&2
fi

suite() {
  local name=$1 sanitize=$2 target=$3 label=$4
  echo "=== ${name} build"
  cmake -S . -B "build/${name}" -DQX_SANITIZE="${sanitize}" >/dev/null
  cmake --build "build/${name}" -j"${jobs}" --target ${target}
  echo "=== ${name} tests"
  "${isolate[@]}" ctest --test-dir "build/${name}" --output-on-failure -j"${jobs}" ${label:+-L "${label}"}
}

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1

suite plain "" all ""
suite asan address all ""
suite tsan thread "runtime_tests staytally" runtime
