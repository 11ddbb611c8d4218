#!/usr/bin/env bash
# Replay figures of the real game on the current X display: plays the golden
# replay tests/replays/log_ride.replay (1280x768) as a timedemo RUNS times
# (default 4) without and with --record, alternating in one run so both see
# the same machine, and prints each timedemo line and the medians. The cost
# of recording is the median of the runs' ratios of median frame times
# (with / without).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
runs="${1:-4}"
replay="${2:-$root/tests/replays/log_ride.replay}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
# "... frame times median 71.20 ms, ..." -> 71.20
field() { sed -n "s/.*$1 \([0-9.]*\) .*/\1/p"; }

for run in $(seq "$runs"); do
  # Odd runs start without recording, even ones with it, so neither side
  # always follows the other.
  order="plain recorded"
  if (( run % 2 == 0 )); then
    order="recorded plain"
  fi
  for mode in $order; do
    extra=()
    if [ "$mode" = recorded ]; then
      extra=(--record "$work/again.replay")
    fi
    line="$("$root/build/quorland" --timedemo "$replay" "${extra[@]}" < /dev/null | tail -n 1)"
    echo "run $run, $mode: $line"
    echo "$line" | field median >> "$work/$mode.median"
    echo "$line" | field percentile >> "$work/$mode.p95"
    echo "$line" | sed -n 's/.* s, \([0-9.]*\) frames\/s.*/\1/p' >> "$work/$mode.fps"
  done
done
for mode in plain recorded; do
  echo "$mode: median frame $(median < "$work/$mode.median") ms," \
    "95th percentile $(median < "$work/$mode.p95") ms, $(median < "$work/$mode.fps") frames/s" \
    "(medians of $runs timedemos)"
done
# Each run's two timedemos ran back to back, so their ratio is the fairest
# comparison; the median of those ratios is the figure.
paste "$work/recorded.median" "$work/plain.median" | awk '{ printf "%.4f\n", $1 / $2 }' \
  > "$work/ratios"
echo "recording / plain median frame time, per run: $(tr '\n' ' ' < "$work/ratios")"
echo "median of the per-run ratios: $(median < "$work/ratios") (budget <= 1.02)"
