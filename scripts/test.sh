#!/usr/bin/env bash
# Installs the dependencies, checks that the C++ sources keep the project's
# format (scripts/check-format.sh), then builds and runs the whole test suite
# three times: plain, under AddressSanitizer + UndefinedBehaviorSanitizer, and
# the threaded runtime tests under ThreadSanitizer. The tests of one tree run
# while the next tree builds. Fails on the first failure (a failing test once
# the build beside it is done).
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

# Each tree's tests run while the next tree builds, the build at a lower
# priority so that the cases that time things keep their pace; a failure
# ends the script once that build is done. The threaded runtime tests, few
# and short, run beside the end of the ASan tests where every test process
# has namespaces of its own, after them where not.
testing="" testing_pid=""
trap 'if [ -n "${testing_pid}" ]; then kill "${testing_pid}" 2>/dev/null || true; fi' EXIT

build() {
  local name=$1 sanitize=$2 target=$3
  echo "=== ${name} build"
  # Ninja compiles a library's users while the library itself is still
  # being built; a tree that make configured earlier is configured anew.
  if [ -f "build/${name}/CMakeCache.txt" ] &&
    ! grep -q '^CMAKE_GENERATOR:INTERNAL=Ninja$' "build/${name}/CMakeCache.txt"; then
    rm -rf "build/${name}"
  fi
  # The test trees are checked, not timed: -O1 with line tables builds them
  # in about two thirds of the time of the default -O2 -g.
  cmake -G Ninja -S . -B "build/${name}" -DQX_SANITIZE="${sanitize}" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" >/dev/null
  nice -n 10 cmake --build "build/${name}" -j"${jobs}" --target ${target}
}

run_tests() {
  local name=$1 label=$2
  ctest --test-dir "build/${name}" --output-on-failure -j"${test_jobs}" ${label:+-L "${label}"}
}

start_tests() {
  testing=$1
  run_tests "$@" >"build/${testing}/tests.log" 2>&1 &
  testing_pid=$!
}

finish_tests() {
  local status=0
  wait "${testing_pid}" || status=$?
  testing_pid=""
  echo "=== ${testing} tests"
  cat "build/${testing}/tests.log"
  return "${status}"
}

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1

build plain "" all
start_tests plain ""
build asan address all
finish_tests
start_tests asan ""
build tsan thread "runtime_tests staytally"
if [ "${test_jobs}" -eq 1 ]; then
  finish_tests
fi
tsan_status=0
run_tests tsan runtime >"build/tsan/tests.log" 2>&1 || tsan_status=$?
if [ -n "${testing_pid}" ]; then
  finish_tests
fi
echo "=== tsan tests"
cat "build/tsan/tests.log"
exit "${tsan_status}"
