#!/bin/sh
# Checks the two Debian packages that `make deb` leaves in DEB_DIR: lintian,
# the desktop entry and software-centre file as installed, what each package
# holds and needs, and every shipped example run by the shipped driver.
#   scripts/check-packages.sh DEB_DIR
set -eu
dir="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "check-packages: $*" >&2; failed=$((failed + 1)); }

one_deb() {
  name="$1"
  set -- "$dir"/"$name"_*.deb
  if [ $# -ne 1 ] || [ ! -f "$1" ]; then
    echo "check-packages: want one $name package in $dir" >&2
    exit 1
  fi
  echo "$1"
}
simulator="$(one_deb kvr9-simulator)"
headless="$(one_deb kvr9-headless)"

# No errors and no warnings; a warning worth keeping gets an override with
# its reason.
lintian --fail-on error,warning \
  "$simulator" "$headless" || fail "lintian found errors or warnings"

dpkg-deb -x "$simulator" "$work/simulator"
dpkg-deb -x "$headless" "$work/headless"

for f in usr/bin/kvr9-simulator usr/share/applications/kvr9-simulator.desktop \
         usr/share/icons/hicolor/256x256/apps/kvr9-simulator.png \
         usr/share/man/man1/kvr9-simulator.1.gz usr/share/doc/kvr9-simulator/copyright; do
  [ -f "$work/simulator/$f" ] || fail "kvr9-simulator lacks $f"
done
for f in usr/bin/kvr9-headless usr/share/man/man1/kvr9-headless.1.gz \
         usr/share/doc/kvr9-headless/copyright usr/share/doc/kvr9-headless/examples/power_on.scn; do
  [ -f "$work/headless/$f" ] || fail "kvr9-headless lacks $f"
done
[ -e "$work/headless/usr/bin/kvr9-simulator" ] && fail "kvr9-headless holds the window"
[ -e "$work/simulator/usr/bin/kvr9-headless" ] && fail "kvr9-simulator holds the headless driver"

desktop-file-validate "$work/simulator/usr/share/applications/kvr9-simulator.desktop" ||
  fail "the installed desktop entry is invalid"
# The tree check also ties the metainfo to its desktop entry and icon.
appstreamcli validate-tree --no-net "$work/simulator" > "$work/appstream.log" 2>&1 ||
  { cat "$work/appstream.log" >&2; fail "the installed metainfo is invalid"; }
grep -q '<screenshot type="default">' "$work"/simulator/usr/share/metainfo/*.metainfo.xml ||
  fail "the metainfo has no default screenshot"

# Qt comes from the archive through the computed dependencies; a CI runner
# installing the driver gets no GUI toolkit, X11 or OpenGL.
depends_of() { dpkg-deb -f "$1" Depends; }
case "$(depends_of "$simulator")" in *libqt6widgets6*) ;; *) fail "kvr9-simulator does not depend on libqt6widgets6" ;; esac
case "$(depends_of "$headless")" in
  *libqt6* | *libx11* | *libxcb* | *libgl* | *libopengl* | *libegl*)
    fail "kvr9-headless depends on a GUI library: $(depends_of "$headless")" ;;
esac
case "$(depends_of "$headless")" in *libpng16*) ;; *) fail "kvr9-headless does not depend on libpng16" ;; esac

# Each example must pass from where it is installed, with the frames shipped
# beside it.
for scenario in "$work"/headless/usr/share/doc/kvr9-headless/examples/*.scn; do
  "$work/headless/usr/bin/kvr9-headless" "$scenario" > /dev/null ||
    fail "shipped example $(basename "$scenario") does not pass"
done

[ "$failed" -eq 0 ] || { echo "check-packages: $failed check(s) failed" >&2; exit 1; }
echo "check-packages: $(basename "$simulator") and $(basename "$headless") pass"
