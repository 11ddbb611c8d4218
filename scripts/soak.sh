#!/usr/bin/env bash
# Soak test: plays the real game for a bounded time (first argument, seconds,
# default 120) on the current X display, the way a restless player would:
# holding and tapping the movement keys, pausing and resuming, entering debug
# mode, scrolling, losing (K in debug mode, or drowning) and starting again.
# Fails when the game dies, prints an "OpenGL Error:" line of severity High
# or Medium, does not quit cleanly at the end, or when its resident memory
# (VmRSS) grows by more than 2 MiB from the end of the warm-up (a quarter of
# the run, at least 20 s) to the end. The driver's allocations make single
# readings swing by a MiB or so from round to round without any trend, so
# memory is read after every round and the median of the last three rounds
# is compared with the median of the first three after the warm-up: a leak
# grows both apart, a swing moves only one reading.
# The second argument is the game binary (default build/quorland).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/scripts/lib/common.sh"
seconds="${1:-120}"
binary="${2:-$root/build/quorland}"
limit_kib=2048
warmup=$(( seconds / 4 > 20 ? seconds / 4 : 20 ))
log="$(mktemp /tmp/quorland-soak.XXXXXX)"
# The games it plays are kept as bests in a folder of its own, not the player's.
data="$(mktemp -d /tmp/quorland-soak-data.XXXXXX)"
tidy() { rm -rf "$log" "$data"; }

XDG_DATA_HOME="$data" "$binary" --seed 7 < /dev/null > "$log" 2>&1 &
game=$!
trap 'kill "$game" 2>/dev/null || true; tidy' EXIT

fail() {
  echo "soak: FAILED: $*" >&2
  tail -20 "$log" >&2
  exit 1
}
alive() { kill -0 "$game" 2>/dev/null; }
# The game is gone: say how it ended (a signal is a crash; 0 means it was
# made to quit) and fail.
died() {
  local code=0
  wait "$game" || code=$?
  trap tidy EXIT
  if ((code > 128)); then
    fail "the game died of signal $((code - 128)) after $rounds rounds"
  fi
  fail "the game ended with exit code $code after $rounds rounds"
}
# Appends the game's resident memory (KiB) to the samples.
sample_rss() {
  local rss
  rss="$(awk '/^VmRSS:/ { print $2 }' "/proc/$game/status" 2>/dev/null)" || died
  [ -n "$rss" ] || died
  samples+=("$rss")
}
tap() { xdotool key --delay 60 "$@"; sleep 0.15; }
hold() { xdotool keydown "$1"; sleep "$2"; xdotool keyup "$1"; sleep 0.1; }

wait_for_game_window "$game" 60 || fail "no window"
sleep 1
xdotool mousemove 400 300

# Losing prints one of these lines; K in debug mode prints nothing.
losses() { grep -cE '^(You fell into the river|You got carried away by the log)' "$log" || true; }

# Waits until the game has printed nothing for 1.5 s (at most 15 s): by then
# it has handled the input sent so far, even on a machine slow enough to lag
# a second behind it, and a hop sent before has landed.
settle() {
  local size quiet=0
  for _ in $(seq 150); do
    size="$(stat -c %s "$log")"
    sleep 0.1
    if [ "$(stat -c %s "$log")" = "$size" ]; then
      quiet=$((quiet + 1))
      ((quiet < 15)) || return 0
    else
      quiet=0
    fi
  done
}

# One round: start from the menu, pause and resume, play, lose, back to the
# menu. Esc on the menu quits, so the round never guesses: it pauses while
# the player still stands on the first row, where nothing can end the game,
# and leaves the game-over screen only once the game is surely on it. K must
# not cut a sinking short either: the sinking would go on in the next game
# and end it silently.
play_round() {
  local before
  before="$(losses)"
  xdotool click 1; sleep 0.5                       # start
  tap Escape; sleep 0.4; tap Escape                # pause, resume
  hold w 1.5                                       # autorepeat hops forward
  tap a d s d a w w w Up Left Right Down space
  sleep 1                                          # let the last hop land
  tap c; xdotool click 4 click 4 click 5; sleep 0.2
  xdotool mousedown 1; xdotool mousemove 450 320; sleep 0.2; xdotool mouseup 1
  xdotool mousemove 400 300
  tap F1 F1 F2 F2                                  # wireframe and culling on and off
  tap c                                            # debug off
  hold Up 2                                        # likely into a river
  settle
  if [ "$(losses)" = "$before" ]; then
    tap c k c                                      # debug on, lose, debug off
  else
    sleep 2.5                                      # the sinking ends (1.5 s)
  fi
  tap Escape                                       # game over -> menu
  sleep 0.3
}

median_of_three() { printf '%s\n' "$@" | sort -n | sed -n 2p; }

start=$SECONDS
samples=()
rounds=0
while (( SECONDS - start < seconds )); do
  alive || died
  play_round
  rounds=$((rounds + 1))
  if (( SECONDS - start >= warmup )); then
    sample_rss
  fi
done
alive || died
while (( ${#samples[@]} < 6 )); do
  sample_rss
  sleep 1
done
count=${#samples[@]}
start_rss="$(median_of_three "${samples[@]:0:3}")"
end_rss="$(median_of_three "${samples[@]:count-3:3}")"

# Every round ends on the start screen, where Esc quits.
tap Escape
for _ in $(seq 50); do
  alive || break
  sleep 0.2
done
code=0
wait "$game" || code=$?
trap tidy EXIT

if grep -E '^OpenGL Error: .*Severity = (High|Medium)' "$log" > /dev/null; then
  fail "OpenGL errors of severity High or Medium: $(grep -cE 'Severity = (High|Medium)' "$log")"
fi
[ "$code" -eq 0 ] || fail "exit code $code after quitting from the menu"
growth=$(( end_rss - start_rss ))
echo "soak: $rounds rounds in $((SECONDS - start)) s; VmRSS per round after warm-up: ${samples[*]} KiB"
echo "soak: median VmRSS after warm-up ${start_rss} KiB, at the end ${end_rss} KiB (growth ${growth} KiB, limit ${limit_kib} KiB)"
(( growth <= limit_kib )) || fail "resident memory grew by ${growth} KiB"
