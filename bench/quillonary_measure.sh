#!/usr/bin/env bash
# The sample encyclopedia's figures: start-up to the first presented frame in a real SDL window
# (Xvfb), the memory after the headless tour, and the CPU it uses while idle with a fly menu
# open. Uses the optimised build.
#   bench/quillonary_measure.sh [path/to/quillonary] [idle seconds]
set -euo pipefail
bin=${1:-build/release/host/quillonary}
seconds=${2:-10}
work=$(mktemp -d)
display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 100); do [[ -S /tmp/.X11-unix/X${display#:} ]] && break; sleep 0.05; done

# Start-up: from the exec to the first frame presented, five runs, the median.
starts=()
for run in 1 2 3 4 5; do
  before=$(date +%s%3N)
  DISPLAY=$display QUILL_AUDIO=null "$bin" --screen sdl --report --home "$work/home" \
    >"$work/start.log" 2>&1 &
  pid=$!
  for _ in $(seq 200); do grep -q "first frame" "$work/start.log" && break; sleep 0.02; done
  at=$(sed -n 's/.*first frame presented at \([0-9]*\) ms.*/\1/p' "$work/start.log")
  starts+=($((at - before)))
  kill "$pid"; wait "$pid" 2>/dev/null || true
done
median=$(printf '%s\n' "${starts[@]}" | sort -n | sed -n 3p)
echo "start-up to the first presented frame: ${median} ms (runs: ${starts[*]})"

# Memory after the tour, headless.
QUILL_AUDIO=null "$bin" --screen headless --report --out "$work/tour" | grep -E "VmRSS|VmHWM"

# Idle CPU with the Article pane's fly menu open (its title bar's icon clicked).
DISPLAY=$display QUILL_AUDIO=null "$bin" --screen sdl --home "$work/home" >/dev/null 2>&1 &
pid=$!
window=""
for _ in $(seq 100); do
  window=$(DISPLAY=$display xdotool search --name Quillonary 2>/dev/null | head -n 1 || true)
  [[ -n $window ]] && break; sleep 0.05
done
sleep 1
DISPLAY=$display xdotool mousemove --window "$window" 420 20 click 1
sleep 1  # the menu flies open
ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
hz=$(getconf CLK_TCK)
t0=$(ticks)
sleep "$seconds"
t1=$(ticks)
kill "$pid"; wait "$pid" 2>/dev/null || true
awk -v t=$((t1 - t0)) -v hz="$hz" -v s="$seconds" \
  'BEGIN { printf "idle CPU with a fly menu open: %.2f%% of one core over %d s\n", 100 * t / hz / s, s }'
