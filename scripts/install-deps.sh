#!/bin/sh
# Installs the Debian 12 packages the simulator and its tests need.
# Does nothing when they are all present; as a non-root user it prints the
# apt-get line to run and stops.
set -eu

PACKAGES="cmake ninja-build g++ make pkg-config libgtest-dev libgmock-dev libbenchmark-dev \
qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-l10n-tools qt6-translations-l10n libgl-dev libjpeg-dev xvfb xauth desktop-file-utils \
clang clang-format libclang-rt-14-dev fonts-dejavu-core libgif-dev libpng-dev libexpat1-dev nlohmann-json3-dev \
dpkg-dev file lintian appstream debootstrap emscripten chromium pngquant zopfli webp lcov graphviz"

# The web page's tests need node and npm. Where another node with its own npm
# is installed already (nodesource's, say), Debian's npm would conflict.
if ! command -v npm >/dev/null 2>&1; then
  PACKAGES="$PACKAGES nodejs npm"
fi

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done

[ -z "$missing" ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages:$missing"
  echo "Run as root:  apt-get update && apt-get install -y$missing"
  exit 1
fi

echo "Installing:$missing"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
# shellcheck disable=SC2086
apt-get install -y -qq $missing
