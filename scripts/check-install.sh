#!/bin/sh
# Installs a build into a temporary prefix and starts the installed programs:
# the simulator (offscreen, without switches, closed by a signal after two seconds) and
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

if grep -qa 'KVR9_' "$prefix/bin/kvr9-simulator"; then
  echo "the installed simulator holds a developer switch" >&2; exit 1
fi
# Started as a person starts it, with no switches: it must stay up until closed.
QT_QPA_PLATFORM=offscreen "$prefix/bin/kvr9-simulator" 2> /dev/null &
sim=$!
sleep 2
kill -0 "$sim" || { echo "the installed simulator did not stay up" >&2; exit 1; }
kill "$sim"; wait "$sim" || true
printf 'on\npass 80\nexpect currentScreen MainScreen\n' | "$prefix/bin/kvr9-headless"
# Its MCP server carries the manual pages inside it, away from the source tree.
for uri in kvr9://docs/headless.md kvr9://man/kvr9-headless.1; do
  printf '{"jsonrpc":"2.0","id":1,"method":"resources/read","params":{"uri":"%s"}}\n' "$uri" |
    (cd / && "$prefix/bin/kvr9-headless" --mcp) | grep -q mcpServers ||
    { echo "the installed kvr9-headless --mcp does not serve $uri" >&2; exit 1; }
done
# The driver a CI runner installs loads no GUI toolkit.
if ldd "$prefix/bin/kvr9-headless" | grep -qi 'libqt\|libX11\|libGL'; then
  echo "the installed kvr9-headless loads a GUI library:" >&2
  ldd "$prefix/bin/kvr9-headless" >&2
  exit 1
fi
echo "installed and started from $prefix"
