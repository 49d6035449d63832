#!/bin/sh
# Installs a build into a temporary prefix and starts the installed programs:
# the simulator (offscreen, switched on, closed after a second and a half) and
# the headless driver on a short scenario.
#   scripts/check-install.sh BUILD_DIR
set -eu
build="$1"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" > /dev/null
for f in bin/kvr9-simulator bin/kvr9-headless share/applications/kvr9-simulator.desktop \
         share/icons/hicolor/256x256/apps/kvr9-simulator.png; do
  [ -e "$prefix/$f" ] || { echo "not installed: $f" >&2; exit 1; }
done
desktop-file-validate "$prefix/share/applications/kvr9-simulator.desktop"

QT_QPA_PLATFORM=offscreen KVR9_AUTO_ON=1 KVR9_AUTO_CLOSE_MS=1500 \
  timeout 60 "$prefix/bin/kvr9-simulator" 2> /dev/null
printf 'on\npass 80\nexpect currentScreen MainScreen\n' | "$prefix/bin/kvr9-headless"
echo "installed and started from $prefix"
