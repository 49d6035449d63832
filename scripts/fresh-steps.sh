#!/bin/sh
# The steps of scripts/test-fresh.sh, run as root inside the fresh root.
set -eu
say() { echo "test-fresh: $*"; }
fail() { echo "test-fresh: FAILED: $*" >&2; exit 1; }

say "apt-get install make git"
apt-get update -qq
apt-get install -y -qq make git > /tmp/apt.log 2>&1 || { cat /tmp/apt.log >&2; fail "apt-get install make git"; }
git clone -q /origin.git /root/kvr9
cd /root/kvr9

say "make test"
make test || fail "make test"

say "make run, under Xvfb"
# xwininfo only looks for the window; make run does not need it.
apt-get install -y -qq x11-utils > /tmp/apt.log 2>&1 || { cat /tmp/apt.log >&2; fail "x11-utils"; }
Xvfb :7 -screen 0 1024x768x24 -nolisten tcp > /tmp/xvfb.log 2>&1 &
sleep 1
DISPLAY=:7 make run > /tmp/run.log 2>&1 &
run=$!
window_shown() {
  xwininfo -display :7 -name "Tarvesk KVR-9" > /tmp/window 2>/dev/null &&
    grep -q "Map State: IsViewable" /tmp/window
}
tries=0
until window_shown; do
  tries=$((tries + 1))
  kill -0 $run 2>/dev/null || { cat /tmp/run.log >&2; fail "make run ended"; }
  [ $tries -le 600 ] || { cat /tmp/run.log >&2; fail "no window 'Tarvesk KVR-9' in 120 s"; }
  sleep 0.2
done
sleep 10
window_shown || { cat /tmp/run.log >&2; fail "the window went away within 10 s"; }
say "the window stood 10 s"
say "node $(node --version), $(chromium --version 2>/dev/null)"
