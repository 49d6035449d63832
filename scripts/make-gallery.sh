#!/bin/sh
# Redraws the screen gallery, docs/screens/*.png, by running every scenario
# in examples/gallery/ through kvr9-headless.
#   scripts/make-gallery.sh [path/to/kvr9-headless]
# Without an argument it builds the dev preset's kvr9-headless first.
set -eu
cd "$(dirname "$0")/.."
headless="${1:-}"
if [ -z "$headless" ]; then
  [ -f build/dev/build.ninja ] || cmake --preset dev >/dev/null
  cmake --build --preset dev --target kvr9-headless >/dev/null
  headless=build/dev/tools/headless/kvr9-headless
fi
mkdir -p docs/screens
count=0
for scenario in examples/gallery/*.scn; do
  "$headless" "$scenario" >/dev/null
  count=$((count + 1))
done
echo "gallery: $count scenarios run, pictures in docs/screens/"
