#!/usr/bin/env bash
# Measures the score board server (not a test): verified submissions per
# second and board reads per second with their median and 99th percentile,
# on SQLite and on PostgreSQL (a throwaway cluster from pg_virtualenv), with
# wrk against a real quorland-board on 127.0.0.1 and the real game as its
# verifier. Figures and how to read them: docs/board.md.
#   scripts/bench-board.sh [SECONDS]   each measurement runs SECONDS (60)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
build="$root/build"

# Inside pg_virtualenv: measure the PostgreSQL board and return.
if [ "${BOARD_BENCH_INSIDE_PG:-}" = 1 ]; then
  backend_args=(--database "postgresql://$PGUSER:$PGPASSWORD@$PGHOST:$PGPORT/$PGDATABASE")
else
  "$root/scripts/install-deps.sh"
  # The board and the game that verifies for it; a configured build folder
  # keeps its settings, a new one is configured as scripts/build.sh does.
  if ! grep -q '^QUORLAND_BUILD_BOARD:BOOL=ON' "$build/CMakeCache.txt" 2>/dev/null; then
    . "$root/scripts/lib/common.sh"
    cmake -S "$root" -B "$build" -DQUORLAND_WERROR="$(werror_setting)" -DQUORLAND_BUILD_BOARD=ON >/dev/null
  fi
  cmake --build "$build" -j "$(nproc)" --target quorland quorland-board >/dev/null
  backend_args=()
fi

work="$(mktemp -d)"
server=""
cleanup() {
  if [ -n "$server" ]; then kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# A one-minute game at 60 frames a second: the golden log_ride's start
# screen and first game frame, then 3600 frames of 1/60 s standing still.
long_run() {
  sed -n '1,/^c /p' "$root/tests/replays/log_ride.replay"
  awk 'BEGIN { for (i = 0; i < 3600; i++) print "g 3c888889" }'
  echo 'x'
  echo 'g 3c888889'
}

start_board() {
  "$build/quorland-board" --listen 127.0.0.1:0 --rate 1000000000 "$@" > "$work/board.log" 2>&1 &
  server=$!
  for _ in $(seq 100); do
    port="$(sed -n 's|^quorland-board: listening on http://127.0.0.1:\([0-9]*\)/.*|\1|p' "$work/board.log")"
    [ -n "$port" ] && return 0
    sleep 0.1
  done
  echo "bench-board: the board did not start: $(cat "$work/board.log")" >&2
  return 1
}

# Fills the seed-7 board with 100 names (the first 40+i frames of log_ride).
fill_board() {
  for i in $(seq 100); do
    awk -v n=$((40 + i)) '{ print } /^(m|g )/ { if (++f == n) exit }' \
      "$root/tests/replays/log_ride.replay" > "$work/part.replay"
    curl -s -o /dev/null -X POST --data-binary @"$work/part.replay" \
      "http://127.0.0.1:$port/api/runs?name=reader$i"
  done
}

reads() {
  wrk -t2 -c16 -d"${seconds}s" --latency "http://127.0.0.1:$port$1" |
    awk -v what="$1" '/Requests\/sec/ { rate = $2 } /^ +50%/ { p50 = $2 } /^ +99%/ { p99 = $2 }
      END { printf "  reads of %s: %s/s, p50 %s, p99 %s\n", what, rate, p50, p99 }'
}

measure() {
  local name="$1"
  shift
  start_board "$@"
  long_run > "$work/long.replay"
  echo "$name ($(nproc) cores, recording of $(wc -c < "$work/long.replay") bytes):"
  wrk -t2 -c4 -d"${seconds}s" --timeout 30s -s "$root/bench/board/submit.lua" \
    "http://127.0.0.1:$port" -- "$work/long.replay" |
    awk -v s="$seconds" '/^verified:/ { printf "  verified submissions: %.1f/s (%s of %s)\n", $2 / s, $2, $4 }'
  fill_board
  reads "/api/board?seed=7"
  reads "/api/board?all"
  kill "$server"
  wait "$server" || true
  server=""
}

if [ "${BOARD_BENCH_INSIDE_PG:-}" = 1 ]; then
  measure PostgreSQL "${backend_args[@]}"
else
  measure SQLite --data "$work/data"
  BOARD_BENCH_INSIDE_PG=1 pg_virtualenv "$0" "$seconds"
fi
