#!/bin/sh
# Installs the two packages in a fresh Debian 12 root, as a user would with
# apt, and checks that Debian's archive alone satisfies them, that the window
# comes up and stays up, that the driver runs an installed example and that
# purging leaves nothing behind.
#   scripts/test-deb-install.sh DEB_DIR                 root and Debian's archive needed
#   scripts/test-deb-install.sh --if-possible DEB_DIR   says SKIPPED where it cannot run
# The bare root is built once with debootstrap and kept in build/deb-root/;
# every run unpacks its own copy there, so runs side by side do not meet.
set -eu
tools="xvfb xauth x11-utils"
repo="$(cd "$(dirname "$0")/.." && pwd)"
. "$repo/scripts/debian-root.sh"

if_possible=false
if [ "${1:-}" = --if-possible ]; then if_possible=true; shift; fi
[ $# -eq 1 ] || { echo "usage: $0 [--if-possible] DEB_DIR" >&2; exit 2; }
debs="$(cd "$1" && pwd)"
cache="$repo/build/deb-root"

cannot() {
  if $if_possible; then
    echo "SKIPPED: package install test: $*"
    exit 0
  fi
  echo "test-deb-install: $*" >&2
  exit 1
}
[ "$(id -u)" -eq 0 ] || cannot "needs root (debootstrap, chroot)"
for tool in debootstrap unshare chroot flock; do
  command -v "$tool" > /dev/null || cannot "$tool is missing"
done
mirror_reachable || cannot "$mirror is not reachable"

set -- "$debs"/kvr9-simulator_*.deb "$debs"/kvr9-headless_*.deb
[ $# -eq 2 ] && [ -f "$1" ] && [ -f "$2" ] ||
  { echo "test-deb-install: want one kvr9-simulator and one kvr9-headless package in $debs" >&2; exit 1; }

trap 'exit 130' INT TERM
base="$(bare_root "$cache" "$tools")"

run="$(mktemp -d "$cache/run.XXXXXX")"
trap 'rm -rf "$run"' EXIT
tar -C "$run" -xf "$base"
chmod 755 "$run"
mkdir -p "$run/packages"
cp "$1" "$2" "$run/packages/"
cp "$repo/scripts/deb-install-steps.sh" "$repo/scripts/window-stands.sh" "$run/packages/"
start=$(date +%s)
in_root "$run" sh /packages/deb-install-steps.sh
echo "test-deb-install: passed in $(($(date +%s) - start)) s in a fresh $suite root"
