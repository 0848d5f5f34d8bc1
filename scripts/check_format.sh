#!/usr/bin/env bash
# Fails when a C++ file of the repository is not laid out as .clang-format says, and names it.
# Fix with: git ls-files '*.h' '*.cpp' | xargs clang-format -i
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || { echo "check_format: clang-format is not installed" >&2; exit 1; }
bad=0
while IFS= read -r f; do
  [[ -f $f ]] || continue
  if ! clang-format --dry-run --Werror "$f" >/dev/null 2>&1; then
    echo "not formatted: $f"
    bad=1
  fi
done < <(git ls-files '*.h' '*.cpp')
if ((bad)); then
  echo "check_format: run clang-format -i on the files above" >&2
  exit 1
fi
echo "check_format: every file is formatted"
