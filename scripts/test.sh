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
# CTest runs one process per GoogleTest suite, all cores at once, the cases
# labelled `slow` (real time limits waited out, large inputs) included. Each
# test process takes a network (its own 127.0.0.1:27017) and a /dev/shm (its
# own mail queue semaphore) of its own, as root or through a user namespace,
# so the suites meet neither each other nor anything else on the machine.
# Where no namespace can be had, the suites share the machine's port and
# /dev/shm and run one at a time.
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

test_jobs=${jobs}
if ! unshare -n -m true 2>/dev/null && ! unshare -U -n -m true 2>/dev/null; then
  echo "test.sh: no private namespaces here; the suites run one at a time on the machine's 127.0.0.1:27017" >&2
  test_jobs=1
fi

suite() {
  local name=$1 sanitize=$2 target=$3 label=$4
  echo "=== ${name} build"
  cmake -S . -B "build/${name}" -DQX_SANITIZE="${sanitize}" >/dev/null
  cmake --build "build/${name}" -j"${jobs}" --target ${target}
  echo "=== ${name} tests"
  ctest --test-dir "build/${name}" --output-on-failure -j"${test_jobs}" ${label:+-L "${label}"}
}

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1

suite plain "" all ""
suite asan address all ""
suite tsan thread "runtime_tests staytally" runtime
