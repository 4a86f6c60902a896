#!/bin/sh
# Plays one problem of the real game as a screen reader reads it: a private
# X server, a private D-Bus session with the AT-SPI bus, the game with its
# accessibility on, and an AT-SPI client that answers the start-up boxes,
# reads the names, solves a problem on the keyboard and reads the verdict.
# Every service is started here and stopped on the way out.
# Usage: screen_reader_test.sh GAME PUPIL_SCRIPT
set -eu

game=$1
pupil=$2
# Each step of the client has its own limit; this one bounds the whole game.
time_limit=90

. "$(dirname "$0")/../desktop/private_desktop.sh"
start_x_server
start_session_bus
start_accessibility_bus
# The client listens before the game starts, as a screen reader does.
timeout --kill-after=5 "$time_limit" /usr/bin/python3 "$pupil" "$scratch/listening" &
pupil_pid=$!
started $pupil_pid
wait_until 20 test -e "$scratch/listening"
start_game "$game"

status=0
wait "$pupil_pid" || status=$?
if [ "$status" -ne 0 ]; then
  echo "FAIL: the screen reader's client ended with status $status; the game said:" >&2
  cat "$scratch/game.log" >&2
  exit "$status"
fi
check_game_log
