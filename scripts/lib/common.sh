# shellcheck shell=bash
# What the scripts under scripts/ share; sourced, never run:
#   . "$root/scripts/lib/common.sh"
# One definition each of the warnings-as-errors switch of both builds, of
# waiting for the game's window and clicking its start screen, and of
# reaching ImageMagick, so that every script behaves the same and a change
# is made once. Messages name the script that sourced this file.

# ON when the run is CI's (CI=true), where every warning fails the build;
# OFF elsewhere, so a newer compiler's new warning does not stop a player.
werror_setting() {
  if [ "${CI:-}" = "true" ]; then
    echo ON
  else
    echo OFF
  fi
}

# Waits until a visible window titled QUORLAND is on the display, looking
# every INTERVAL seconds (default 0.05). Returns 0 then. Returns 1, after one
# line on standard error, when process PID (the game, or the program that
# runs it) ends first or SECONDS (default 30) pass: a game that failed at
# start-up is reported at once instead of after the whole wait.
wait_for_game_window() {
  local pid="$1" seconds="${2:-30}" interval="${3:-0.05}"
  local deadline=$((SECONDS + seconds))
  until xdotool search --onlyvisible --name '^QUORLAND$' > /dev/null 2>&1; do
    if ! kill -0 "$pid" 2> /dev/null; then
      echo "${0##*/}: the game ended before its window appeared" >&2
      return 1
    fi
    if ((SECONDS >= deadline)); then
      echo "${0##*/}: no game window within $seconds s" >&2
      return 1
    fi
    sleep "$interval"
  done
}

# Clicks the start screen (at 200, 200, inside every window the settings
# allow) after DELAY seconds (default 1) for it to come up; a click before
# the first poll waits in the event queue, so a delay of 0 is fine too.
click_start_screen() {
  sleep "${1:-1}"
  xdotool mousemove 200 200 click 1
}

# The path of ImageMagick's own TOOL (convert, import), never whatever
# command of that name comes first on the PATH: Debian's versioned name
# first, then the alternatives link. Fails, printing nothing, when
# ImageMagick is not installed.
imagemagick() {
  local candidate
  for candidate in "/usr/bin/$1-im6.q16" "/usr/bin/$1"; do
    if [ -x "$candidate" ]; then
      echo "$candidate"
      return 0
    fi
  done
  return 1
}

# Writes the PNG copy PNG of the PPM file PPM. On failure prints one line,
# the reason, on standard output and returns 1.
write_png_copy() {
  local convert
  if ! convert="$(imagemagick convert)"; then
    echo "ImageMagick is not installed"
    return 1
  fi
  if ! "$convert" "$1" "$2" > /dev/null 2>&1; then
    echo "ImageMagick's convert could not read $1 or write $2"
    return 1
  fi
}
