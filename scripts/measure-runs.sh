#!/bin/sh
# Measures runs that outgrow one core and one machine (docs/performance.md):
# a synthetic suite run one at a time and side by side, and the time of each
# shard of a split over N machines, whose longest is the matrix's time.
#   scripts/measure-runs.sh KVR9_HEADLESS [RUNS]
# RUNS (default 3) runs of each; the least time is printed.
set -eu
[ $# -ge 1 ] || { echo "usage: $0 KVR9_HEADLESS [RUNS]" >&2; exit 2; }
driver=$(realpath "$1")
runs=${2:-3}
here=$(dirname "$0")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The least wall time of RUNS runs of a command, in seconds.
least() {
  best=""
  n=0
  while [ "$n" -lt "$runs" ]; do
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1 || [ $? -le 1 ]
    end=$(date +%s.%N)
    took=$(awk -v a="$start" -v b="$end" 'BEGIN { print b - a }')
    if [ -z "$best" ] || awk -v t="$took" -v b="$best" 'BEGIN { exit !(t < b) }'; then best=$took; fi
    n=$((n + 1))
  done
  printf '%.2f' "$best"
}

for count in 24 100; do
  "$here/make-scenario-suite.sh" "$work/suite-$count" "$count"
  one=$(least "$driver" -j 1 --junit "$work/r.xml" "$work/suite-$count"/*.scn)
  two=$(least "$driver" -j 2 --junit "$work/r.xml" "$work/suite-$count"/*.scn)
  echo "suite of $count scenarios: -j 1 ${one} s, -j 2 ${two} s," \
    "$(awk -v a="$one" -v b="$two" 'BEGIN { printf "%.2f", a / b }')x"
done

# Each shard of the 100 run as its own machine would run it (-j 2, this
# machine's cores); the matrix takes as long as its longest shard.
for shards in 2 3 4 8; do
  line="split over $shards machines:"
  longest=0
  k=1
  while [ "$k" -le "$shards" ]; do
    took=$(least "$driver" -j 2 --shard "$k/$shards" --junit "$work/r.xml" "$work/suite-100"/*.scn)
    cases=$(grep -c '<testcase ' "$work/r.xml" || true)
    line="$line $cases in ${took} s,"
    if awk -v t="$took" -v l="$longest" 'BEGIN { exit !(t > l) }'; then longest=$took; fi
    k=$((k + 1))
  done
  echo "$line longest ${longest} s"
done
