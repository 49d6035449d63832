#!/bin/sh
# Runs every scenario in a folder of examples/ through kvr9-headless, for
# the pictures they write (the gallery, the animations).
#   scripts/run-scenario-folder.sh FOLDER OUTPUT [path/to/kvr9-headless]
# Without the last argument it builds the dev preset's kvr9-headless first.
set -eu
cd "$(dirname "$0")/.."
folder="$1"
output="$2"
headless="${3:-}"
if [ -z "$headless" ]; then
  [ -f build/dev/build.ninja ] || cmake --preset dev >/dev/null
  cmake --build --preset dev --target kvr9-headless >/dev/null
  headless=build/dev/headless/kvr9-headless
fi
mkdir -p "$output"
count=0
for scenario in "$folder"/*.scn; do
  "$headless" "$scenario" >/dev/null
  count=$((count + 1))
done
echo "$folder: $count scenarios run, pictures in $output/"
