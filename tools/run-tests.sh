#!/bin/sh
# Runs the suite of one build folder through CTest, then says how many tests
# were skipped: a skip checks nothing, so with CI=true it fails the run.
# Usage: run-tests.sh BUILD_DIR JOBS
set -eu
build=$1
jobs=$2
log=$(mktemp)
trap 'rm -f "$log" "$log.status"' EXIT
{
  status=0
  (cd "$build" && ctest --output-on-failure --parallel "$jobs") || status=$?
  echo "$status" >"$log.status"
} 2>&1 | tee "$log"
status=$(cat "$log.status")
echo "The ten slowest tests in $build:"
sed -n 's/^.*Test *#[0-9]*: \([^ ]*\) .* \([0-9.]*\) sec$/\2 \1/p' "$log" | sort -rn | head -n 10 |
  awk '{ printf "  %7.2f s  %s\n", $1, $2 }'
skipped=$(grep -c '(Skipped)$' "$log" || true)
echo "Skipped tests in $build: $skipped"
if [ "$skipped" -gt 0 ] && [ "${CI:-}" = true ]; then
  echo "A skipped test checks nothing: with CI=true it fails the run." >&2
  [ "$status" -ne 0 ] || status=1
fi
exit "$status"
