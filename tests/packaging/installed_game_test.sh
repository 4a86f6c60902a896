#!/bin/sh
# The staged game, started as installed, asks the pupil's name, poses a
# problem, counts a right answer and, when the pupil leaves, saves the new
# record in the folder named by QUORVENO_RECORD_DIR; the teacher's register
# there gets the answer, and the class summary names the pupil.
# Usage: installed_game_test.sh GAME PLUGIN_DIR WORK_DIR
set -eu

here=$(dirname "$0")
record=$3/record
transcript=$3/transcript
rm -rf "$record"
mkdir -p "$record"
: >"$record/registro.csv"

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
[ "$(grep -c ';Prova;' "$record/registro.csv")" = 1 ] || fail "the register does not hold one line of Prova"
grep -q ';giusto;.*;gara 10.$' "$record/registro.csv" || fail "the register does not hold the right answer"
"$1" --riepilogo "$record/registro.csv" --output "$3/riepilogo.html" || fail "the class summary was not written"
grep -q '<td>Prova</td>' "$3/riepilogo.html" || fail "the class summary does not name Prova"
[ "$failed" = no ]
