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
suite=bookworm
mirror=http://deb.debian.org/debian
tools="xvfb xauth x11-utils"

if_possible=false
if [ "${1:-}" = --if-possible ]; then if_possible=true; shift; fi
[ $# -eq 1 ] || { echo "usage: $0 [--if-possible] DEB_DIR" >&2; exit 2; }
debs="$(cd "$1" && pwd)"
repo="$(cd "$(dirname "$0")/.." && pwd)"
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
probe="$(mktemp)"
timeout 5 /usr/lib/apt/apt-helper -o Acquire::http::Timeout=5 -o Acquire::Retries=0 \
  download-file "$mirror/dists/$suite/Release" "$probe" > /dev/null 2>&1 &&
  reachable=true || reachable=false
rm -f "$probe"
$reachable || cannot "$mirror is not reachable"

set -- "$debs"/kvr9-simulator_*.deb "$debs"/kvr9-headless_*.deb
[ $# -eq 2 ] && [ -f "$1" ] && [ -f "$2" ] ||
  { echo "test-deb-install: want one kvr9-simulator and one kvr9-headless package in $debs" >&2; exit 1; }

# Runs a script inside a root, in a mount and process namespace of its own:
# its mounts and every process it leaves vanish when it ends.
in_root() {
  # shellcheck disable=SC2016
  unshare --mount --pid --fork --propagation private sh -eu -c '
    root="$1"; shift
    mount -t proc proc "$root/proc"
    mount --bind /dev "$root/dev"
    mount -t tmpfs tmpfs "$root/dev/shm"
    mount -t devpts -o newinstance,ptmxmode=0666 devpts "$root/dev/pts"
    cp /etc/resolv.conf "$root/etc/resolv.conf"
    exec chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin \
      DEBIAN_FRONTEND=noninteractive LC_ALL=C.UTF-8 "$@"' in_root "$@"
}

mkdir -p "$cache"
key="$(printf '%s %s %s' "$suite" "$mirror" "$tools" | md5sum | cut -c1-12)"
base="$cache/$suite-$key.tar"
# An interrupted run still removes its folders.
trap 'exit 130' INT TERM
(
  flock 9
  # A root kept for a week is made anew, so the test stays close to a fresh install.
  find "$cache" -maxdepth 1 -name "$suite-*.tar" -mtime +7 -delete
  if [ ! -f "$base" ]; then
    stage="$(mktemp -d "$cache/stage.XXXXXX")"
    trap 'rm -rf "$stage"' EXIT
    chmod 755 "$stage"
    echo "test-deb-install: building a bare $suite root (once)"
    debootstrap --variant=minbase "$suite" "$stage" "$mirror" > "$stage.log" 2>&1 ||
      { cat "$stage.log" >&2; exit 1; }
    rm -f "$stage.log"
    cat > "$stage/etc/apt/sources.list" << EOF
deb $mirror $suite main
deb $mirror $suite-updates main
deb ${mirror%/debian}/debian-security $suite-security main
EOF
    # No services start inside the root.
    printf '#!/bin/sh\nexit 101\n' > "$stage/usr/sbin/policy-rc.d"
    chmod 755 "$stage/usr/sbin/policy-rc.d"
    in_root "$stage" sh -c "apt-get update -qq && apt-get install -y -qq --no-install-recommends $tools > /dev/null && apt-get clean"
    tar -C "$stage" -cf "$base.part" . && mv "$base.part" "$base"
  fi
) 9> "$cache/lock"

run="$(mktemp -d "$cache/run.XXXXXX")"
trap 'rm -rf "$run"' EXIT
tar -C "$run" -xf "$base"
chmod 755 "$run"
mkdir -p "$run/packages"
cp "$1" "$2" "$run/packages/"
cp "$repo/scripts/deb-install-steps.sh" "$run/packages/"
start=$(date +%s)
in_root "$run" sh /packages/deb-install-steps.sh
echo "test-deb-install: passed in $(($(date +%s) - start)) s in a fresh $suite root"
