#!/usr/bin/env bash
# The sample encyclopedia's headless tour under valgrind memcheck, on the optimised build:
# passes with 0 errors and 0 bytes definitely lost. Takes a few minutes; run on demand.
#   scripts/valgrind-tour.sh [extra arguments for quillonary, e.g. --script FILE]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh --with-valgrind
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target quillonary
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
start=$(date +%s)
status=0
QUILL_AUDIO=null valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite \
  --errors-for-leak-kinds=definite --error-exitcode=99 --log-file="$out/valgrind.log" \
  ./build/release/host/quillonary --screen headless --out "$out" "$@" || status=$?
grep -E "ERROR SUMMARY|definitely lost|in use at exit" "$out/valgrind.log" || true
echo "valgrind-tour: $(( $(date +%s) - start )) s, exit status $status"
exit "$status"
