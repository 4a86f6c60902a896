#!/bin/sh
# The staged game, started as installed, asks the pupil's name, poses a
# problem, counts a right answer and, when the pupil leaves, saves the new
# record in the folder named by QUORVENO_RECORD_DIR.
# Usage: installed_game_test.sh GAME PLUGIN_DIR WORK_DIR
set -eu

here=$(dirname "$0")
record=$3/record
transcript=$3/transcript
rm -rf "$record"
mkdir -p "$record"

failed=no
QUORVENO_RECORD_DIR=$record QUORVENO_PROBE_NAME=Prova QUORVENO_PROBE_RIGHT_ANSWERS=1 \
  sh "$here/run_installed_game.sh" "$1" "$2" >"$transcript" || failed=yes
cat "$transcript"

fail() {
  echo "FAIL: $*" >&2
  failed=yes
}
grep -q '^name asked: ' "$transcript" || fail "the name was not asked"
grep -q '^answered .*, score 1$' "$transcript" || fail "the right answer did not score"
printf '1\r\n' | cmp -s - "$record/frsosem.txt" || fail "the record score was not saved as 1"
printf 'Prova\r\n' | cmp -s - "$record/frsosem1.txt" || fail "the record holder was not saved as Prova"
[ "$failed" = no ]
