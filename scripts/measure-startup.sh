#!/usr/bin/env bash
# Process-level figures of the real game on the current X display: runs
# build/quorland --run_headless RUNS times (default 5) and prints, per run and
# as medians, the wall time from process start to the screenshot of the first
# game frame, and the peak resident memory.
#
# The click on the start screen is sent as soon as the window is mapped,
# which is before the scene is built, so it waits in the event queue for the
# first poll and the game never idles for it: the figure is start-up plus the
# first start-screen frame, the first game frame and the screenshot write.
# The click's own time after start is printed too; "click to shot" is what
# the wall time would be if a later click had been subtracted.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/scripts/lib/common.sh"
runs="${1:-5}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$root/build"

now_ns() { date +%s%N; }
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

for run in $(seq "$runs"); do
  rm -f "$work/shot.ppm"
  start=$(now_ns)
  /usr/bin/time -f "%U %S %M" -o "$work/rss" ./quorland --run_headless --seed 1 \
    --filename "$work/shot" < /dev/null > "$work/out" &
  game=$!
  # Polled every 10 ms: xdotool's own --sync looks only twice a second.
  if ! wait_for_game_window "$game" 30 0.01; then
    kill "$game" 2>/dev/null || true
    tail -5 "$work/out" >&2
    exit 1
  fi
  click=$(now_ns)
  click_start_screen 0
  code=0
  wait "$game" || code=$?
  if [ "$code" -ne 0 ]; then
    echo "measure-startup: run $run: the game ended with exit code $code" >&2
    tail -5 "$work/out" >&2
    exit 1
  fi
  finish=$(now_ns)
  shot=$(stat -c %.9Y "$work/shot.ppm" | tr -d .)
  read -r user_s sys_s rss_kb < <(tail -n 1 "$work/rss")
  cpu_ms=$(awk -v u="$user_s" -v s="$sys_s" 'BEGIN { printf "%d", (u + s) * 1000 }')
  echo "run $run: start to shot $(( (shot - start) / 1000000 )) ms," \
    "to exit $(( (finish - start) / 1000000 )) ms, click sent at $(( (click - start) / 1000000 )) ms," \
    "click to shot $(( (shot - click) / 1000000 )) ms, CPU $cpu_ms ms, peak RSS $(( rss_kb / 1024 )) MiB"
  echo "$(( (shot - start) / 1000000 )) $(( (finish - start) / 1000000 )) $(( (shot - click) / 1000000 )) $rss_kb $cpu_ms" >> "$work/figures"
done

startup=$(cut -d' ' -f1 "$work/figures" | median)
exit_ms=$(cut -d' ' -f2 "$work/figures" | median)
after_click=$(cut -d' ' -f3 "$work/figures" | median)
rss_kb=$(cut -d' ' -f4 "$work/figures" | median)
cpu_ms=$(cut -d' ' -f5 "$work/figures" | median)
verdict() { if [ "$1" -le "$2" ]; then echo PASS; else echo MISS; fi; }
echo "Process figures (median of $runs runs; load average $(cut -d' ' -f1-3 /proc/loadavg)):"
echo "  start-up to first game frame written: $startup ms <= 1000 ms  $(verdict "$startup" 1000)"
echo "  start to exit: $exit_ms ms; click to shot: $after_click ms; CPU time (all threads): $cpu_ms ms"
echo "  peak RSS: $(( rss_kb / 1024 )) MiB <= 200 MiB  $(verdict "$rss_kb" $(( 200 * 1024 )))"
