#!/bin/sh
# The install test's steps, run by scripts/test-deb-install.sh as root inside
# a fresh Debian root that holds the two packages in /packages.
set -eu
say() { echo "test-deb-install: $*"; }
fail() { echo "test-deb-install: FAILED: $*" >&2; exit 1; }
packages="kvr9-simulator kvr9-headless"
# As a user installs them: apt-get install ./kvr9-simulator_*.deb ./kvr9-headless_*.deb
cd /packages
debs="$(echo ./kvr9-simulator_*.deb ./kvr9-headless_*.deb)"

# Every path of the root that the packages or their programs could touch.
snapshot() {
  find / -xdev \( -path /packages -o -path /tmp -o -path /run -o -path /var/tmp \) -prune \
    -o -print | sort
}

apt-get update -qq
# A CI runner wants the driver alone, and no GUI stack with it.
say "installing kvr9-headless alone"
apt-get install -y -q ./kvr9-headless_*.deb > /tmp/install.log 2>&1 || { cat /tmp/install.log >&2; fail "apt-get install kvr9-headless"; }
qt="$(dpkg -l 'libqt6*' 2>/dev/null | awk '/^ii/ { print $2 }')"
[ -z "$qt" ] || fail "installing kvr9-headless alone pulled in: $qt"
say "kvr9-headless pulled in no libqt6 package"
apt-get purge -y -q --auto-remove kvr9-headless > /dev/null
say "installing, with dependencies from the archive only"
# shellcheck disable=SC2086
apt-get install -y -q $debs > /tmp/install.log 2>&1 || { cat /tmp/install.log >&2; fail "apt-get install"; }
# shellcheck disable=SC2086
apt-get purge -y -q $packages > /dev/null

# A desktop user, and an X server already up, so that what they leave in the
# root belongs to the picture before the packages.
useradd --create-home pilot
Xvfb :7 -screen 0 1024x768x24 -nolisten tcp > /tmp/xvfb.log 2>&1 &
tries=0
until DISPLAY=:7 xdpyinfo > /dev/null 2>&1; do
  tries=$((tries + 1))
  [ $tries -le 100 ] || { cat /tmp/xvfb.log >&2; fail "Xvfb did not start"; }
  sleep 0.2
done
snapshot > /tmp/before

# shellcheck disable=SC2086
apt-get install -y -q $debs > /tmp/install.log 2>&1 || { cat /tmp/install.log >&2; fail "apt-get install"; }
# shellcheck disable=SC2086
ours="$(dpkg -L $packages | while read -r f; do [ -d "$f" ] || echo "$f"; done)"

say "starting kvr9-simulator from the desktop entry's command"
command="$(sed -n 's/^Exec=//p' /usr/share/applications/kvr9-simulator.desktop)"
[ "$command" = kvr9-simulator ] || fail "the desktop entry starts '$command'"
setpriv --reuid=pilot --regid=pilot --init-groups \
  env HOME=/home/pilot DISPLAY=:7 kvr9-simulator > /tmp/simulator.log 2>&1 &
simulator=$!
. /packages/window-stands.sh
window_stands $simulator /tmp/simulator.log 150
kill -TERM $simulator
wait $simulator || true

say "running an installed example with kvr9-headless"
cd /home/pilot
setpriv --reuid=pilot --regid=pilot --init-groups env HOME=/home/pilot \
  kvr9-headless /usr/share/doc/kvr9-headless/examples/power_on.scn > /tmp/headless.log 2>&1 ||
  { cat /tmp/headless.log >&2; fail "kvr9-headless power_on.scn"; }
cd /

say "purging"
# shellcheck disable=SC2086
apt-get purge -y -q $packages > /dev/null
for f in $ours; do
  [ ! -e "$f" ] || fail "$f is still there after the purge"
done
snapshot > /tmp/after
diff /tmp/before /tmp/after > /tmp/left || { cat /tmp/left >&2; fail "the root differs after the purge"; }
