#!/usr/bin/env bash
# Runs a command with an X display: the current one when DISPLAY is set,
# otherwise a virtual one (Xvfb) that lives as long as the command. It does
# not reset when its last client leaves: a client that connects during a
# reset is turned away, and the scripts' short-lived xdotool calls come and
# go while the game connects.
set -euo pipefail
if [ -n "${DISPLAY:-}" ]; then
  exec "$@"
fi
exec xvfb-run -a -s "-screen 0 1920x1080x24 -nolisten tcp -noreset" "$@"
