# Shared by the tests that work in a fresh Debian 12 root: sourced, not run.
#   in_root ROOT COMMAND...      runs COMMAND inside ROOT, in namespaces of its own
#   bare_root CACHE TOOLS        prints the path of a bare bookworm root tarball with
#                                TOOLS installed, built with debootstrap once a week
#   mirror_reachable             whether Debian's archive answers
#   copy_local_trust ROOT        copies the certificate authorities this machine
#                                adds to Debian's into ROOT (a TLS-inspecting proxy);
#                                fails where there are none
suite=bookworm
mirror=http://deb.debian.org/debian

mirror_reachable() {
  probe="$(mktemp)"
  if timeout 5 /usr/lib/apt/apt-helper -o Acquire::http::Timeout=5 -o Acquire::Retries=0 \
    download-file "$mirror/dists/$suite/Release" "$probe" > /dev/null 2>&1; then
    rm -f "$probe"; return 0
  fi
  rm -f "$probe"; return 1
}

# Its mounts and every process it leaves vanish when it ends. Extra
# environment for the command comes in IN_ROOT_ENV ("NAME=value ...").
in_root() {
  # shellcheck disable=SC2016
  unshare --mount --pid --fork --propagation private sh -eu -c '
    root="$1"; shift
    # The root is a mount point of its own, so that a root made inside it
    # (the package install test inside the fresh-root test) can unshare too.
    mount --bind "$root" "$root"
    mount -t proc proc "$root/proc"
    mount --bind /dev "$root/dev"
    mount -t tmpfs tmpfs "$root/dev/shm"
    mount -t devpts -o newinstance,ptmxmode=0666 devpts "$root/dev/pts"
    cp /etc/resolv.conf "$root/etc/resolv.conf"
    # shellcheck disable=SC2086
    exec chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
      DEBIAN_FRONTEND=noninteractive LC_ALL=C.UTF-8 ${IN_ROOT_ENV:-} "$@"' in_root "$@"
}

bare_root() {
  cache="$1"; tools="$2"
  mkdir -p "$cache"
  key="$(printf '%s %s %s' "$suite" "$mirror" "$tools" | md5sum | cut -c1-12)"
  base="$cache/$suite-$key.tar"
  (
    flock 9
    # A root kept for a week is made anew, so the tests stay close to a fresh install.
    find "$cache" -maxdepth 1 -name "$suite-*.tar" -mtime +7 -delete
    if [ ! -f "$base" ]; then
      stage="$(mktemp -d "$cache/stage.XXXXXX")"
      trap 'rm -rf "$stage"' EXIT
      chmod 755 "$stage"
      echo "building a bare $suite root (once)" >&2
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
      if [ -n "$tools" ]; then
        in_root "$stage" sh -c "apt-get update -qq && apt-get install -y -qq --no-install-recommends $tools > /dev/null && apt-get clean" >&2
      fi
      tar -C "$stage" -cf "$base.part" . && mv "$base.part" "$base"
    fi
  ) 9> "$cache/lock"
  echo "$base"
}

copy_local_trust() {
  copied=1
  for crt in /usr/local/share/ca-certificates/*.crt; do
    [ -f "$crt" ] || continue
    mkdir -p "$1/usr/local/share/ca-certificates"
    cp "$crt" "$1/usr/local/share/ca-certificates/"
    copied=0
  done
  return $copied
}
