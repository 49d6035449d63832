#!/bin/sh
# The firmware's line and branch coverage (core/, lcd/, screens/) as an HTML
# report in build/coverage/html.
#
#   scripts/coverage.sh                  the whole CTest suite of the coverage preset
#   scripts/coverage.sh A.scn B.scn ...  only these scenarios, run by kvr9-headless
#
# A scenario whose expectation fails (status 1) still counts: what it ran
# is covered. A malformed or unreadable one (status 2) fails the run. A
# failing test of the suite fails it too, after the report is written.
# Needs lcov (scripts/install-deps.sh installs it).
set -eu
cd "$(dirname "$0")/.."
root=$PWD
build=build/coverage
out=$build/lcov
jobs=${JOBS:-$(nproc)}
# Branches too, without the exception edges of the calls: they are not the
# firmware's decisions (scripts/gcov-without-throw.sh).
rc="--rc lcov_branch_coverage=1 --rc geninfo_gcov_tool=$root/scripts/gcov-without-throw.sh"

for tool in lcov genhtml; do
  if ! command -v $tool > /dev/null; then
    echo "coverage: $tool is not installed (scripts/install-deps.sh installs it)" >&2
    exit 1
  fi
done

# lcov's own chatter: Debian 12's geninfo redefines its subroutines, and the
# font and icon tables hold data but no functions.
lcov_() {
  # shellcheck disable=SC2086
  lcov --quiet $rc "$@" 2> "$out/stderr" || {
    cat "$out/stderr" >&2
    return 1
  }
  grep -v -e '^Subroutine .* redefined at' -e 'no functions found' -e 'did not produce any data' \
    "$out/stderr" >&2 || true
}

[ -f $build/build.ninja ] || cmake --preset coverage
cmake --build --preset coverage

rm -rf "$out" $build/html
mkdir -p "$out"
lcov_ --zerocounters --directory $build
# Every instrumented line at zero, so that code nothing ran still counts.
lcov_ --capture --initial --directory $build --output-file "$out/base.info"

status=0
if [ $# -eq 0 ]; then
  what="the suite (ctest --preset coverage)"
  ctest --preset coverage -j "$jobs" || status=$?
else
  what="$# scenario(s)"
  for scenario in "$@"; do
    s=0
    $build/headless/kvr9-headless "$scenario" > /dev/null || s=$?
    case $s in
      0) ;;
      1) echo "coverage: $scenario: an expectation failed (status 1); its run still counts" ;;
      *)
        echo "coverage: $scenario: status $s" >&2
        status=$s
        ;;
    esac
  done
  if [ $status -ne 0 ]; then
    echo "coverage: a scenario did not run (status $status); no report" >&2
    exit $status
  fi
fi

lcov_ --capture --directory $build --output-file "$out/run.info"
lcov_ --add-tracefile "$out/base.info" --add-tracefile "$out/run.info" \
  --output-file "$out/all.info"
# The firmware only; lcd/frame_art.* is the text art of the tests and the
# driver, not the instrument's.
lcov_ --extract "$out/all.info" "$root/core/*" "$root/lcd/*" "$root/screens/*" \
  --output-file "$out/extracted.info"
lcov_ --remove "$out/extracted.info" "$root/lcd/frame_art.*" \
  --output-file "$out/firmware.info"

echo
echo "Firmware coverage by $what:"
for dir in core lcd screens; do
  lcov_ --extract "$out/firmware.info" "$root/$dir/*" --output-file "$out/$dir.info"
  # shellcheck disable=SC2086
  lcov $rc --summary "$out/$dir.info" 2>&1 |
    awk -v d="$dir/" '/lines|branches/ { sub(/^ +/, ""); printf "  %-9s %s\n", d, $0 }'
done

# shellcheck disable=SC2086
genhtml --quiet $rc --branch-coverage --demangle-cpp --prefix "$root" \
  --title "KVR-9 firmware coverage: $what" --output-directory $build/html "$out/firmware.info"
echo "  total:"
# shellcheck disable=SC2086
lcov $rc --summary "$out/firmware.info" 2>&1 | awk '/lines|functions|branches/ { print "   " $0 }'
echo
echo "Report: $root/$build/html/index.html"
exit $status
