#!/usr/bin/env bash
# Checks that every C++ file of shared/, utilities/, tests/ and bench/ is as
# clang-format (Debian's, version 14) with the top .clang-format leaves it,
# and that every header uses #pragma once. Lists the files that are not and
# fails; reformat them with: clang-format -i --style=file FILE...
set -euo pipefail
cd "$(dirname "$0")/.."

bad=()
while IFS= read -r -d '' f; do
  if ! clang-format --dry-run -Werror --style=file "$f" >/dev/null 2>&1; then
    bad+=("$f")
  elif [[ "$f" == *.h ]] && ! grep -q '^#pragma once' "$f"; then
    bad+=("$f (no #pragma once)")
  fi
done < <(find shared utilities tests bench -name build -prune -o -type f \
  \( -name '*.h' -o -name '*.hpp' -o -name '*.cpp' -o -name '*.cc' \) -print0 | sort -z)

if [ "${#bad[@]}" -ne 0 ]; then
  echo "check-format.sh: ${#bad[@]} files not in the project's format:" >&2
  printf '  %s\n' "${bad[@]}" >&2
  exit 1
fi
echo "check-format.sh: every C++ file is formatted"
