#!/usr/bin/env bash
# Installs the dependencies, then builds and runs the whole test suite three
# times: plain, under AddressSanitizer + UndefinedBehaviorSanitizer, and the
# threaded runtime tests under ThreadSanitizer. Fails on the first failure.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${QX_SKIP_INSTALL:-0}" != 1 ]; then
  bash scripts/install-deps.sh
fi

jobs=$(nproc)

suite() {
  local name=$1 sanitize=$2 target=$3 label=$4
  echo "=== ${name} build"
  cmake -S . -B "build/${name}" -DQX_SANITIZE="${sanitize}" >/dev/null
  cmake --build "build/${name}" -j"${jobs}" --target ${target}
  echo "=== ${name} tests"
  (cd "build/${name}" && ctest --output-on-failure -j"${jobs}" ${label:+-L "${label}"})
}

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1

suite plain "" all ""
suite asan address all ""
suite tsan thread "runtime_tests staytally" runtime
