#!/bin/sh
# The front-panel window's CPU at rest: the harness switched on under Xvfb,
# left on the main display, its CPU time sampled from /proc over a window of
# wall-clock time. Prints the share of one core.
#   scripts/measure-idle-cpu.sh HARNESS [SETTLE_S] [SECONDS] [SWITCH...]
# SETTLE_S (default 120) lets the 8 s splash pass and the communication
# window fill to its 1,000 lines, after which each pass's empty line leaves
# its picture unchanged; SECONDS (default 60) is the measured span. Further
# switches go to the harness (--open-log FILE: at rest with the flight bar).
set -eu
harness="$1"
settle="${2:-120}"
span="${3:-60}"
shift $(($# < 3 ? $# : 3))
switches=""
for switch in "$@"; do switches="$switches \"$switch\""; done
folder="$(mktemp -d)"
trap 'kill "$(cat "$folder/pid")" 2>/dev/null || true; rm -rf "$folder"' EXIT

xvfb-run -a -s "-screen 0 1024x768x24" sh -c \
  "\"$harness\" --on$switches & echo \$! > \"$folder/pid\"; wait \$!" 2> /dev/null &
sleep "$settle"
pid="$(cat "$folder/pid")"
ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
t0=$(ticks); w0=$(date +%s.%N)
sleep "$span"
t1=$(ticks); w1=$(date +%s.%N)
echo "scale=3; 100 * ($t1 - $t0) / $(getconf CLK_TCK) / ($w1 - $w0)" | bc |
  sed 's/^\./0./; s/$/ % of one core/'
