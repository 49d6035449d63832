#!/bin/sh
# Starts the simulator window; without a display, says how to get one.
set -eu
program="$1"
if [ ! -x "$program" ]; then
  echo "The simulator window has not been built: $program is missing." >&2
  exit 1
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "kvr9-simulator: no display found; run it on a desktop, or under a virtual one: xvfb-run -a make run" >&2
  exit 1
fi
exec "$program"
