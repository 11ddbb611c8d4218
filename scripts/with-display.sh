#!/usr/bin/env bash
# Runs a command with an X display: the current one when DISPLAY is set,
# otherwise a virtual one (Xvfb) that lives as long as the command.
set -euo pipefail
if [ -n "${DISPLAY:-}" ]; then
  exec "$@"
fi
exec xvfb-run -a -s "-screen 0 1920x1080x24 -nolisten tcp" "$@"
