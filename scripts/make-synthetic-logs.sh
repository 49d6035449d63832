#!/bin/sh
# Writes N synthetic flight logs into DIR for measuring `kvr9-headless sweep`:
# every other one IGC (IAS in km/h, altitude in metres), the rest CSV (feet,
# mph); 10 to 60 minutes long; one in seven dives past the instrument's
# 80 mph high alarm. Deterministic: the same N gives the same files, byte
# for byte. Nothing in them is recorded from a flight.
#
#   scripts/make-synthetic-logs.sh DIR N
set -eu

if [ $# -ne 2 ] || ! [ "$2" -ge 1 ] 2>/dev/null; then
  echo "usage: $0 DIR N  (N >= 1 logs)" >&2
  exit 2
fi
dir=$1
count=$2
mkdir -p "$dir"

i=1
while [ "$i" -le "$count" ]; do
  name=$(printf 'log-%04d' "$i")
  if [ $((i % 2)) -eq 0 ]; then kind=igc; else kind=csv; fi
  awk -v i="$i" -v kind="$kind" '
    # A sawtooth-free wave of integers: 0..amp..0 over period seconds.
    function wave(t, period, amp,   p) {
      p = t % period
      return (p < period / 2 ? p : period - p) * 2 * amp / period
    }
    function sample(t,   alt, asi) {
      if (t < 60) { alt = field; asi = 0 }
      else if (t < 90) { alt = field; asi = cruise * (t - 60) / 30 }
      else if (t < 90 + climb) { alt = field + (top - field) * (t - 90) / climb; asi = cruise }
      else if (t < dur - 300) {
        alt = top - wave(t, 240, 150); asi = cruise - 4 + wave(t, 90, 8)
        if (dive && t >= divestart && t < divestart + 40) asi = cruise + wave(t - divestart, 40, fastest - cruise)
      }
      else if (t < dur - 60) { alt = top + (field - top) * (t - dur + 300) / 240; asi = cruise }
      else if (t < dur - 30) { alt = field; asi = cruise * (dur - 30 - t) / 30 }
      else { alt = field; asi = 0 }
      if (asi < 0) asi = 0
      salt = alt; sasi = asi
    }
    BEGIN {
      dur = 600 + (i * 37 % 51) * 60           # 10 to 60 minutes
      field = 100 + (i * 53 % 15) * 100            # 100 to 1500 ft
      top = field + 1000 + (i * 29 % 11) * 500     # 1000 to 6000 ft above
      cruise = 50 + (i * 17 % 21)                  # 50 to 70 mph
      climb = (top - field) / 8                    # 8 ft a second
      if (climb > (dur - 400) / 2) climb = (dur - 400) / 2  # leaves room for the dive
      dive = (i % 7 == 3)
      fastest = 85 + (i * 13 % 26)                 # 85 to 110 mph
      divestart = int((90 + climb + dur - 300) / 2)
      if (kind == "csv") {
        step = 5
        printf "# Synthetic log %d, made by scripts/make-synthetic-logs.sh.\n", i
        printf "time(s),altitude(ft),airspeed(mph)\n"
        for (t = 0; t <= dur; t += step) {
          sample(t)
          printf "%d,%.0f,%.1f\n", t, salt, sasi
        }
      } else {
        step = 4
        printf "AXXX%03d SYNTHETIC SWEEP LOG\nHFDTE010726\nI013638IAS\n", i % 1000
        start = 9 * 3600 + (i * 7 % 60) * 60
        for (t = 0; t <= dur; t += step) {
          sample(t)
          clock = start + t
          printf "B%02d%02d%02d4615000N00730000EA%05d%05d%03d\n", int(clock / 3600),
                 int(clock / 60) % 60, clock % 60, salt * 0.3048 + 0.5, salt * 0.3048 + 0.5,
                 sasi * 1.609344 + 0.5
        }
      }
    }' > "$dir/$name.$kind"
  i=$((i + 1))
done
