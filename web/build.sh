#!/bin/sh
# Builds the web page into a folder (default web/dist): the firmware library,
# unchanged, and the page's HostPanel compiled to WebAssembly with
# emscripten, beside index.html, the page's script and style and the face
# picture the window shows.
#   web/build.sh [OUT_DIR]
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/web/dist}
mkdir -p "$out"

# Debian's emscripten finds its acorn module through NODE_PATH when a newer
# Node than Debian's comes first on PATH.
export NODE_PATH="${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs"

# The firmware library's sources, as the native build lists them.
firmware=$(sed -n '/^add_library(kvr9_firmware STATIC/,/^)/p' "$root/CMakeLists.txt" |
  grep '\.cpp' | sed "s|^ *|$root/|")

exports='["_kvr9_on","_kvr9_off","_kvr9_is_running","_kvr9_store_key",'\
'"_kvr9_set_altitude_converter","_kvr9_set_airspeed_converter","_kvr9_timer_tick"]'

# shellcheck disable=SC2086
em++ -std=c++20 -O2 -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion -Werror \
  -I"$root" $firmware "$root/web/web_panel.cpp" "$root/web/page_entry.cpp" \
  --js-library "$root/web/page_bridge.js" \
  -sASYNCIFY -sMODULARIZE=1 -sEXPORT_NAME=createKvr9 -sENVIRONMENT=web \
  -sFILESYSTEM=0 -sEXPORTED_FUNCTIONS="$exports" -sEXPORTED_RUNTIME_METHODS='["ccall"]' \
  -o "$out/kvr9.js"

cp "$root/web/index.html" "$root/web/panel.css" "$root/web/panel.js" "$out/"
cp "$root/panel/face.jpg" "$out/"
node "$root/web/package-offline.mjs" "$out"
