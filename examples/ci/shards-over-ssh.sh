#!/bin/sh
# The scenarios split over the machines named on the command line, one
# shard each, over ssh; their reports fetched back and joined into
# report.xml. Each machine has kvr9-headless on its PATH and the same
# checkout in ~/kvr9 (rsync it first).
#   examples/ci/shards-over-ssh.sh HOST...
set -u
[ $# -ge 1 ] || { echo "usage: $0 HOST..." >&2; exit 2; }
total=$#
shard=0
for host in "$@"; do
  shard=$((shard + 1))
  ssh "$host" "cd kvr9 && kvr9-headless -j 0 --shard $shard/$total --junit shard-$shard.xml examples/*.scn lessons/checks/*.solution.scn" &
done
wait
shard=0
reports=""
for host in "$@"; do
  shard=$((shard + 1))
  ssh "$host" "cat kvr9/shard-$shard.xml" > "shard-$shard.xml" || exit 2
  reports="$reports shard-$shard.xml"
done
# shellcheck disable=SC2086
kvr9-headless merge-junit report.xml $reports
