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
. /window-stands.sh
window_stands $run /tmp/run.log 600
say "node $(node --version), $(chromium --version 2>/dev/null)"
