#!/bin/sh
# Flies the built-in demo circuit through kvr9-headless with a trace, and
# plots the profile against what the instrument showed into
# docs/flight-plot.png: altitude above, airspeed (with the two alarm
# speeds) below.
#   scripts/plot-flight.sh [path/to/kvr9-headless]
# Without an argument it builds the dev preset's kvr9-headless first.
# Needs gnuplot, which no test uses, so scripts/install-deps.sh leaves it
# out: on Debian, apt-get install gnuplot-nox.
set -eu
cd "$(dirname "$0")/.."
if ! command -v gnuplot > /dev/null; then
  echo "plot-flight: gnuplot is not installed (on Debian: apt-get install gnuplot-nox)" >&2
  exit 1
fi
driver=${1:-}
if [ -z "$driver" ]; then
  cmake --build --preset dev --target kvr9-headless > /dev/null
  driver=build/dev/headless/kvr9-headless
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Flight detection on (FLIGHT LOG, FLIGHT: DETECT), so that the low-speed
# alarm of the gust on final is raised too; the altitude slider starts at
# the field, not at count 0 (50860 ft).
cat > "$work/flight.scn" << 'SCN'
slider altitude 3300
on
pass 80
key press
pass
key cw
pass
key cw
pass
key press
pass
key cw
pass
key cw
pass
key cw
pass
key cw
pass
key press
pass
key cw
pass
key press
pass
key ccw
pass
key ccw
pass
key ccw
pass
key ccw
pass
key press
pass
expect currentScreen MainMenuScreen
key ccw
pass
key ccw
pass
key press
pass 2
expect currentScreen MainScreen
expect flightDetectAuto 1
trace trace.csv altitude airspeed alarmActive inFlight
fly demo
SCN
"$driver" "$work/flight.scn"

gnuplot << GNUPLOT
set terminal pngcairo size 900,620 font "DejaVu Sans,10"
set output "docs/flight-plot.png"
set datafile separator ","
set key autotitle columnhead
set multiplot layout 2,1 title "Demo flight: the profile and what the KVR-9 showed (10 passes a second)"
set grid
set xrange [0:430]
set xtics 30
set lmargin 10
set ylabel "altitude (ft)"
set key top right
plot "$work/trace.csv" using 1:2 with lines lw 3 lc rgb "#9ecae1" title "profile (pressure altitude)", \
     "" using 1:4 with lines lw 1 lc rgb "#08519c" title "shown"
set xlabel "seconds from the start of the profile"
set ylabel "airspeed (mph)"
set yrange [0:100]
set key top left
plot "$work/trace.csv" using 1:3 with lines lw 3 lc rgb "#fdae6b" title "profile (indicated airspeed)", \
     "" using 1:5 with lines lw 1 lc rgb "#a63603" title "shown (0 under 16 mph)", \
     "" using 1:(\$6 > 0 ? 95 : 1/0) with points pt 7 ps 0.3 lc rgb "red" title "alarm active", \
     "" using 1:(\$7 > 0 ? 5 : 1/0) with points pt 7 ps 0.3 lc rgb "#31a354" title "in flight", \
     80 with lines dt 2 lc rgb "red" title "high alarm 80", \
     30 with lines dt 2 lc rgb "#31a354" title "low alarm 30"
unset multiplot
GNUPLOT
echo "plot-flight: docs/flight-plot.png"
