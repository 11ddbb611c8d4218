#!/usr/bin/env bash
# Renews the reference final frames of the golden replays in tests/replays/:
# builds the game (scripts/build.sh), plays every NAME.replay headless in a
# scratch folder and writes its last frame to NAME.png beside it. Run it when
# the picture changes on purpose, look at the new pictures, commit them.
# Runs under the current display, or a virtual one when DISPLAY is unset.
# The replays and transcripts themselves are not touched (docs/replays.md
# says how to record a game again).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/scripts/lib/common.sh"
if [ -z "${DISPLAY:-}" ]; then
  exec "$root/scripts/with-display.sh" "$0" "$@"
fi
"$root/scripts/build.sh" > /dev/null
scratch="$(mktemp -d /tmp/quorland-goldens.XXXXXX)"
trap 'rm -rf "$scratch"' EXIT
for replay in "$root"/tests/replays/*.replay; do
  name="$(basename "$replay" .replay)"
  (cd "$scratch" &&
    "$root/build/quorland" --replay "$replay" --run_headless --filename "$name" \
      < /dev/null > "$name.log" 2>&1) || {
    echo "$name: the replay failed, see below" >&2
    tail -5 "$scratch/$name.log" >&2
    exit 1
  }
  if ! diff -q "$scratch/$name.log" "$root/tests/replays/$name.transcript" > /dev/null; then
    echo "$name: the transcript differs from $name.transcript (record the game again)" >&2
    exit 1
  fi
  if ! reason="$(write_png_copy "$scratch/$name.ppm" "$root/tests/replays/$name.png")"; then
    echo "$name: tests/replays/$name.png not renewed: $reason" >&2
    exit 1
  fi
  echo "$name: tests/replays/$name.png renewed"
done
