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
#
# scripts/measure-startup.sh RUNS --sound measures what the sound adds to
# start-up instead: the game (not headless) is started RUNS times with sound
# and RUNS times with --mute, alternately, and closed with Esc on the start
# screen as soon as its window is mapped (sent again every 50 ms until it
# has gone); the figure is start to exit. The sound runs use OpenAL Soft's
# null device (ALSOFT_DRIVERS=null), so that a device opens and every effect
# is synthesized even on a machine without sound hardware. The budget is
# checked on the CPU time the sound adds (all threads), which a loaded
# machine disturbs far less than the wall time.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/scripts/lib/common.sh"
runs="${1:-5}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$root/build"

now_ns() { date +%s%N; }
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
verdict() { if [ "$1" -le "$2" ]; then echo PASS; else echo MISS; fi; }

if [ "${2:-}" = --sound ]; then
  # One run, the game closed from its start screen: "wall CPU" (start to
  # exit, and the CPU time of all its threads, in ms).
  run_once() {
    local start game user_s sys_s
    start=$(now_ns)
    ALSOFT_DRIVERS=null /usr/bin/time -f "%U %S" -o "$work/cpu" ./quorland --seed 1 "$@" \
      < /dev/null > /dev/null 2>&1 &
    game=$!
    if ! wait_for_game_window "$game" 30 0.01; then
      kill "$game" 2>/dev/null || true
      exit 1
    fi
    # Esc until the game has gone: a key sent while the window is still
    # being set up can be lost.
    while kill -0 "$game" 2>/dev/null; do
      xdotool key Escape > /dev/null 2>&1 || true
      sleep 0.05
    done
    wait "$game" || true
    read -r user_s sys_s < <(tail -n 1 "$work/cpu")
    echo "$(( ($(now_ns) - start) / 1000000 )) $(awk -v u="$user_s" -v s="$sys_s" \
      'BEGIN { printf "%d", (u + s) * 1000 }')"
  }
  for run in $(seq "$runs"); do
    if [ $((run % 2)) -eq 1 ]; then
      run_once >> "$work/sound"; run_once --mute >> "$work/mute"
    else
      run_once --mute >> "$work/mute"; run_once >> "$work/sound"
    fi
    read -r sound_wall sound_cpu < <(tail -n 1 "$work/sound")
    read -r mute_wall mute_cpu < <(tail -n 1 "$work/mute")
    echo "run $run: with sound $sound_wall ms (CPU $sound_cpu ms)," \
      "muted $mute_wall ms (CPU $mute_cpu ms)"
    echo "$(( sound_wall - mute_wall )) $(( sound_cpu - mute_cpu ))" >> "$work/added"
  done
  wall=$(cut -d' ' -f1 "$work/added" | median)
  cpu=$(cut -d' ' -f2 "$work/added" | median)
  echo "Sound at start-up (medians of $runs paired differences; load average" \
    "$(cut -d' ' -f1-3 /proc/loadavg)):"
  echo "  CPU time added by the sound: $cpu ms <= 50 ms  $(verdict "$cpu" 50); start to exit: $wall ms"
  exit 0
fi

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
echo "Process figures (median of $runs runs; load average $(cut -d' ' -f1-3 /proc/loadavg)):"
echo "  start-up to first game frame written: $startup ms <= 1000 ms  $(verdict "$startup" 1000)"
echo "  start to exit: $exit_ms ms; click to shot: $after_click ms; CPU time (all threads): $cpu_ms ms"
echo "  peak RSS: $(( rss_kb / 1024 )) MiB <= 200 MiB  $(verdict "$rss_kb" $(( 200 * 1024 )))"
