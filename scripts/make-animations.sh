#!/bin/sh
# Redraws the README's animations, docs/animations/*.gif, by running every
# scenario in examples/animations/ through kvr9-headless.
#   scripts/make-animations.sh [path/to/kvr9-headless]
# Without an argument it builds the dev preset's kvr9-headless first.
set -eu
cd "$(dirname "$0")/.."
headless="${1:-}"
if [ -z "$headless" ]; then
  [ -f build/dev/build.ninja ] || cmake --preset dev >/dev/null
  cmake --build --preset dev --target kvr9-headless >/dev/null
  headless=build/dev/tools/headless/kvr9-headless
fi
mkdir -p docs/animations
count=0
for scenario in examples/animations/*.scn; do
  "$headless" "$scenario" >/dev/null
  count=$((count + 1))
done
echo "animations: $count scenarios run, GIFs in docs/animations/"
