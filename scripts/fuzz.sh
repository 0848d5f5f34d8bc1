#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan + UBSan) and runs each over its seed corpus: the
# corpus is replayed first, then the fuzzer explores for the given number of seconds.
#   scripts/fuzz.sh [seconds per target, default 20]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
bash scripts/deps.sh --with-fuzz
cmake --preset fuzz
cmake --build --preset fuzz -j "$(nproc)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for target in build/fuzz/fuzz/fuzz_*; do
  [[ -x "$target" && ! -d "$target" ]] || continue
  name=$(basename "$target")
  corpus="fuzz/corpus/$name"
  # New inputs go to a scratch copy; the committed corpus stays as it is.
  mkdir -p "$work/$name"
  [[ -d "$corpus" ]] && cp -r "$corpus/." "$work/$name/"
  echo "== $name: ${seconds}s over $(ls "$work/$name" | wc -l) seeds"
  if ! "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -malloc_limit_mb=512 \
        -print_final_stats=0 "$work/$name" > "$work/$name.log" 2>&1; then
    tail -n 40 "$work/$name.log"
    echo "== $name FAILED"
    status=1
  else
    grep -E "^#[0-9]+.*DONE|Done [0-9]+ runs" "$work/$name.log" | tail -n 1 || true
  fi
done
exit $status
