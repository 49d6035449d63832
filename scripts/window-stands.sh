# Sourced by the steps run inside a fresh root: waits until the window
# "Tarvesk KVR-9" shows on DISPLAY :7 while process $1 lives (its log in
# $2, up to $3 tries of 0.2 s), then checks that it stays 10 s. Needs say,
# fail and xwininfo.
window_shown() {
  xwininfo -display :7 -name "Tarvesk KVR-9" > /tmp/window 2>/dev/null &&
    grep -q "Map State: IsViewable" /tmp/window
}

window_stands() {
  tries=0
  until window_shown; do
    tries=$((tries + 1))
    kill -0 "$1" 2>/dev/null || { cat "$2" >&2; fail "the program ended before its window showed"; }
    [ $tries -le "$3" ] || { cat "$2" >&2; fail "no window 'Tarvesk KVR-9' after $3 tries"; }
    sleep 0.2
  done
  grep -q "Width: 621$" /tmp/window && grep -q "Height: 404$" /tmp/window ||
    { cat /tmp/window >&2; fail "the window is not 621 x 404"; }
  sleep 10
  kill -0 "$1" 2>/dev/null || { cat "$2" >&2; fail "the program ended within 10 s"; }
  window_shown || fail "the window went away within 10 s"
  say "the window stood 10 s"
}
