#!/bin/sh
# Writes N synthetic scenarios into DIR, for measuring a suite run one at a
# time and side by side (docs/performance.md). The same N gives the same
# files: each switches on, turns QNH a few clicks, flies the demo circuit,
# then holds a speed (over the high alarm for every third) for between two
# and seven thousand seconds of passes, and checks what it should.
#   scripts/make-scenario-suite.sh DIR N
set -eu
[ $# -eq 2 ] || { echo "usage: $0 DIR N" >&2; exit 2; }
dir=$1
count=$2
mkdir -p "$dir"
i=1
while [ "$i" -le "$count" ]; do
  name=$(printf '%s/suite-%03d.scn' "$dir" "$i")
  clicks=$((i % 5))
  passes=$((20000 + (i * 7919) % 50000))
  {
    echo "# Synthetic scenario $i of $count (scripts/make-scenario-suite.sh)."
    echo "on"
    echo "pass 80"
    echo "expect-text /^\\d{4}mB\$/"
    k=0
    while [ "$k" -lt "$clicks" ]; do
      echo "key cw"
      echo "pass 2"
      k=$((k + 1))
    done
    echo "expect qnh $((1013250 + clicks * 1000))"
    echo "fly demo"
    echo "at end"
    if [ $((i % 3)) -eq 0 ]; then
      echo "slider airspeed 90mph"
      echo "pass $passes"
      echo "expect alarmActive 1"
    else
      echo "slider airspeed 60mph"
      echo "pass $passes"
      echo "expect alarmActive 0"
    fi
    echo "expect currentScreen MainScreen"
  } > "$name"
  i=$((i + 1))
done
