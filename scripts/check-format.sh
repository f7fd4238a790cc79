#!/usr/bin/env bash
# Checks that every C++ file of shared/, utilities/, tests/ and bench/ is as
# clang-format (Debian's, version 14) with the top .clang-format leaves it,
# and that every header uses #pragma once. Lists the files that are not and
# fails; reformat them with: clang-format -i --style=file FILE...
set -euo pipefail
cd "$(dirname "$0")/.."

# Another clang-format version formats some constructs differently, and a
# .clang-format it cannot read would fail every file; say so once instead.
if ! version=$(clang-format --version 2>/dev/null); then
  echo "check-format.sh: clang-format is not installed (scripts/install-deps.sh)" >&2
  exit 1
fi
if [[ "$version" != *" version 14."* ]]; then
  echo "check-format.sh: want clang-format 14, found: $version" >&2
  exit 1
fi
if ! problem=$(clang-format --style=file --dump-config 2>&1 >/dev/null) || [ -n "$problem" ]; then
  echo "check-format.sh: .clang-format does not load: $problem" >&2
  exit 1
fi

files=()
while IFS= read -r -d '' f; do
  files+=("$f")
done < <(find shared utilities tests bench -name build -prune -o -type f \
  \( -name '*.h' -o -name '*.hpp' -o -name '*.cpp' -o -name '*.cc' \) -print0 | sort -z)

# One clang-format for many files (its start costs more than a file): each
# difference is an error line "FILE:LINE:COL: error: ...".
declare -A unformatted=() unguarded=()
while IFS= read -r f; do
  unformatted[$f]=1
done < <(printf '%s\0' "${files[@]}" |
  xargs -0 clang-format --dry-run -Werror --style=file 2>&1 >/dev/null |
  sed -n 's/^\(.*\):[0-9]*:[0-9]*: error: .*/\1/p')
while IFS= read -r f; do
  unguarded[$f]=1
done < <(printf '%s\0' "${files[@]}" | grep -z '\.h\(pp\)\?$' | xargs -0 grep -L '^#pragma once')

bad=()
for f in "${files[@]}"; do
  why=""
  if [ -n "${unformatted[$f]:-}" ]; then
    why="not formatted"
  fi
  if [ -n "${unguarded[$f]:-}" ]; then
    why="${why:+$why, }no #pragma once"
  fi
  if [ -n "$why" ]; then
    bad+=("$f ($why)")
  fi
done

if [ "${#bad[@]}" -ne 0 ]; then
  echo "check-format.sh: ${#bad[@]} files not in the project's format:" >&2
  printf '  %s\n' "${bad[@]}" >&2
  exit 1
fi
echo "check-format.sh: every C++ file is formatted"
