#!/usr/bin/env bash
# Measures the CPU the demo uses while it sits idle in a real SDL window under Xvfb: the
# process's user + system time over a quiet stretch, as a percentage of one core. Arguments
# after the seconds go to the demo: --idle-hungry opens a window that always asks for more idle
# time, which the loop must pace rather than spin on.
#   bench/idle_cpu.sh [path/to/quill-demo] [seconds] [demo options...]
set -euo pipefail
demo=${1:-build/release/demo/quill-demo}
seconds=${2:-5}
shift $(($# < 2 ? $# : 2))
display=:$((70 + RANDOM % 20))

Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 100); do [[ -S /tmp/.X11-unix/X${display#:} ]] && break; sleep 0.05; done

DISPLAY=$display "$demo" --screen sdl --out /tmp/quill-idle.png "$@" >/tmp/quill-idle.log &
pid=$!
sleep 1  # start-up and the first paint are not idle time

ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
hz=$(getconf CLK_TCK)
before=$(ticks)
sleep "$seconds"
after=$(ticks)

DISPLAY=$display xdotool search --name "Quill demo" key Escape >/dev/null 2>&1 || kill "$pid"
wait "$pid" || true
grep -h "idle calls" /tmp/quill-idle.log || true
awk -v t=$((after - before)) -v hz="$hz" -v s="$seconds" \
  'BEGIN { printf "idle CPU: %.2f%% of one core over %d s (%d ticks)\n", 100 * t / hz / s, s, t }'
