#!/bin/sh
# The README's two commands as a new user runs them on a fresh Debian 12: in a
# root made with debootstrap, apt-get install make git, a clone of what is
# committed here, make test whole, and make run showing its window under Xvfb
# for 10 s. Takes tens of minutes; root and Debian's archive needed.
# KEEP_FRESH_ROOT=1 keeps the root of a failed run for a look inside.
set -eu
repo="$(cd "$(dirname "$0")/.." && pwd)"
. "$repo/scripts/debian-root.sh"

fail() { echo "test-fresh: $*" >&2; exit 1; }
[ "$(id -u)" -eq 0 ] || fail "needs root (debootstrap, chroot)"
for tool in debootstrap unshare chroot flock git; do
  command -v "$tool" > /dev/null || fail "$tool is missing"
done
mirror_reachable || fail "$mirror is not reachable"

trap 'exit 130' INT TERM
base="$(bare_root "$repo/build/fresh-root" "")"
run="$(mktemp -d "$repo/build/fresh-root/run.XXXXXX")"
trap 'status=$?; if [ $status -ne 0 ] && [ -n "${KEEP_FRESH_ROOT:-}" ]; then
  echo "test-fresh: the root is kept in $run" >&2; else rm -rf "$run"; fi' EXIT
tar -C "$run" -xf "$base"
chmod 755 "$run"
git clone -q --bare "$repo" "$run/origin.git"
cp "$repo/scripts/fresh-steps.sh" "$repo/scripts/window-stands.sh" "$run/"
# Where this machine trusts more authorities than Debian's own, npm in the
# root must trust them too.
if copy_local_trust "$run"; then
  export IN_ROOT_ENV="NODE_EXTRA_CA_CERTS=/etc/ssl/certs/ca-certificates.crt"
fi
start=$(date +%s)
in_root "$run" sh /fresh-steps.sh
echo "test-fresh: passed in $(($(date +%s) - start)) s in a fresh $suite root"
