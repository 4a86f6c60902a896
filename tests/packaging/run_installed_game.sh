#!/bin/sh
# Starts an installed game offscreen with the game probe loaded into it (see
# game_probe.h), and checks that it posed a problem, wrote nothing to standard
# error and ended by itself when the probe left. The probe's account of the
# game goes to standard output.
# Usage: run_installed_game.sh GAME PLUGIN_DIR
#   PLUGIN_DIR holds generic/, the folder of the probe plugin.
# The probe's settings and QUORVENO_RECORD_DIR pass through the environment.
set -eu

game=$1
plugins=$2
# A game waiting in a box for a probe that never answers must not hang the tests.
time_limit=60

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -m 0700 "$scratch/runtime"

status=0
env QT_QPA_PLATFORM=offscreen QT_PLUGIN_PATH="$plugins" QT_QPA_GENERIC_PLUGINS=quorveno_game_probe \
  XDG_RUNTIME_DIR="$scratch/runtime" \
  timeout --kill-after=5 "$time_limit" "$game" >"$scratch/out" 2>"$scratch/err" || status=$?
cat "$scratch/out"

failed=no
# The offscreen platform warns that it cannot pass size hints to a window
# system it does not have; anything else on standard error is a fault.
grep -vx 'This plugin does not support propagateSizeHints()' "$scratch/err" >"$scratch/complaints" || true
if [ -s "$scratch/complaints" ]; then
  echo "FAIL: the game wrote to standard error:" >&2
  cat "$scratch/complaints" >&2
  failed=yes
fi
case $status in
  0) ;;
  124) echo "FAIL: the game was still running after $time_limit s" >&2; failed=yes ;;
  *) if [ "$status" -gt 128 ]; then
       echo "FAIL: the game was killed by signal $((status - 128))" >&2
     else
       echo "FAIL: the game ended with status $status" >&2
     fi
     failed=yes ;;
esac
if ! grep -Eq '^problem: [0-9]+/([0-9]+) \+ [1-8]/\1$' "$scratch/out"; then
  echo "FAIL: the game posed no problem of the form a/d + c/d" >&2
  failed=yes
fi
[ "$failed" = no ]
