#!/usr/bin/env bash
# Installs everything the build, the tests and the sample run need (Debian, as root).
# Safe to run again: apt-get skips what is already there. apt's output goes to
# a log that is shown only when the install fails.
set -euo pipefail

packages=(
  cmake g++ make ninja-build pkg-config clang-format
  libgtest-dev
  libmimalloc-dev
  libpoco-dev
  libzmq3-dev
  tzdata
  python3 python3-mockupdb python3-mongomock python3-bson
)

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps.sh: run as root (apt-get needs it)" >&2
  exit 1
fi

log=$(mktemp "${TMPDIR:-/tmp}/install-deps.XXXXXX.log")
trap 'rm -f "$log"' EXIT
export DEBIAN_FRONTEND=noninteractive
echo "== installing the Debian packages" >&2
if ! { apt-get update -qq && apt-get install -y -qq --no-install-recommends "${packages[@]}"; } \
  >"$log" 2>&1; then
  cat "$log" >&2
  echo "install-deps.sh: apt-get failed (output above)" >&2
  exit 1
fi
