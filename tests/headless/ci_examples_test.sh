#!/bin/sh
# The CI matrix examples in examples/ci/, run here as far as one machine
# can: each shard's command as its CI system would run it, one after the
# other, then the merge. The merged report must be the unsharded run's,
# apart from the times.
#   ci_examples_test.sh KVR9_HEADLESS SOURCE_DIR
set -eu
headless=$(realpath "$1")
source=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
ln -s "$headless" "$work/bin/kvr9-headless"
PATH="$work/bin:$PATH"
export LC_ALL=C

# A checkout of the scenarios, apart from the source tree (failing moments
# are written beside them).
checkout() {
  mkdir -p "$1"
  cp -R "$source/examples" "$source/lessons" "$1/"
}

fail() {
  echo "ci_examples_test: $*" >&2
  exit 1
}

# Runs a command line taken from an example; a failed expectation (1) is
# the shard's own news, anything worse is the example's fault.
run() {
  status=0
  sh -c "$1" >/dev/null 2>"$work/err" || status=$?
  [ "$status" -le 1 ] || fail "status $status from: $1: $(head -c 400 "$work/err")"
}

# The same scenarios in one run, without --shard, as report.xml's reference.
same_as_unsharded() {
  folder=$1
  shard_line=$2
  whole=$(printf '%s\n' "$shard_line" | sed -e 's/--shard [^ ]*//' -e 's/--junit [^ ]*/--junit whole.xml/')
  (cd "$folder" && run "$whole")
  [ -s "$folder/report.xml" ] || fail "$3: no report.xml"
  cases=$(grep -c '<testcase ' "$folder/whole.xml")
  [ "$cases" -gt 10 ] || fail "$3: only $cases testcases"
  sed 's/ time="[^"]*"//g' "$folder/whole.xml" > "$folder/whole.cmp"
  sed 's/ time="[^"]*"//g' "$folder/report.xml" > "$folder/report.cmp"
  cmp -s "$folder/whole.cmp" "$folder/report.cmp" || fail "$3: the merged report differs"
  echo "$3: $cases testcases in $(ls "$folder"/shard-*.xml | wc -l) shards, merged as one run"
}

# GitHub Actions: the run lines naming kvr9-headless; ${{ matrix.shard }}
# each of the matrix's shards, ${{ strategy.job-total }} their number.
gh="$work/github"
checkout "$gh"
yml="$source/examples/ci/github-actions.yml"
shards=$(sed -n 's/^ *shard: \[\(.*\)\]/\1/p' "$yml" | tr -d ' ' | tr ',' ' ')
total=$(echo "$shards" | wc -w)
shard_line=$(sed -n 's/^ *- run: \(kvr9-headless .*--shard.*\)/\1/p' "$yml")
merge_line=$(sed -n 's/^ *- run: \(kvr9-headless merge-junit.*\)/\1/p' "$yml")
[ -n "$shard_line" ] && [ -n "$merge_line" ] && [ "$total" -ge 2 ] || fail "github: commands not found"
for k in $shards; do
  line=$(printf '%s\n' "$shard_line" | sed -e "s/\${{ matrix.shard }}/$k/g" \
    -e "s/\${{ strategy.job-total }}/$total/g")
  (cd "$gh" && run "$line")
done
(cd "$gh" && run "$merge_line")
same_as_unsharded "$gh" "$(printf '%s\n' "$shard_line" | sed 's/\${{[^}]*}}/1/g')" github

# GitLab CI: the script lines naming kvr9-headless, with CI_NODE_INDEX of
# CI_NODE_TOTAL as "parallel" sets them.
gl="$work/gitlab"
checkout "$gl"
yml="$source/examples/ci/gitlab-ci.yml"
total=$(sed -n 's/^ *parallel: \([0-9]*\)/\1/p' "$yml")
shard_line=$(sed -n 's/^ *- \(kvr9-headless .*--shard.*\)/\1/p' "$yml")
merge_line=$(sed -n 's/^ *- \(kvr9-headless merge-junit.*\)/\1/p' "$yml")
[ -n "$shard_line" ] && [ -n "$merge_line" ] && [ "$total" -ge 2 ] || fail "gitlab: commands not found"
k=1
while [ "$k" -le "$total" ]; do
  (cd "$gl" && CI_NODE_INDEX=$k CI_NODE_TOTAL=$total && export CI_NODE_INDEX CI_NODE_TOTAL &&
    run "$shard_line")
  k=$((k + 1))
done
(cd "$gl" && run "$merge_line")
same_as_unsharded "$gl" "$(printf '%s\n' "$shard_line" | sed 's/"\$CI_NODE_INDEX[^"]*"/x/g')" gitlab

# A shell loop over ssh hosts: ssh stood in for by a command that runs
# the remote command in a home of this machine's, one for each host.
sl="$work/ssh"
mkdir -p "$sl"
for host in one two three; do checkout "$work/hosts/$host/kvr9"; done
cat > "$work/bin/ssh" <<STAND_IN
#!/bin/sh
cd "$work/hosts/\$1" && exec sh -c "\$2"
STAND_IN
chmod +x "$work/bin/ssh"
(cd "$sl" && run "'$source/examples/ci/shards-over-ssh.sh' one two three")
cp -R "$source/examples" "$source/lessons" "$sl/"
script_line=$(sed -n 's/.*"cd kvr9 && \(kvr9-headless .*--shard.*\)" &$/\1/p' "$source/examples/ci/shards-over-ssh.sh")
[ -n "$script_line" ] || fail "ssh: the shard command not found"
same_as_unsharded "$sl" "$script_line" ssh

# One worker gives the same report as a worker a core.
(cd "$gh" && run "$(printf '%s\n' "$shard_line" | sed -e 's/\${{[^}]*}}/1/g' -e 's/--shard [^ ]*//' \
  -e 's/-j 0/-j 1/' -e 's/--junit [^ ]*/--junit one.xml/')")
sed 's/ time="[^"]*"//g' "$gh/one.xml" | cmp -s - "$gh/whole.cmp" || fail "-j 1 and -j 0 differ"
echo "-j 1 and -j 0: the same report"
