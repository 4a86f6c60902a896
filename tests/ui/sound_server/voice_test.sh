#!/bin/sh
# Plays a whole competition of the real game with its voice on, heard
# through a real sound server: a private PulseAudio server plays into a null
# sink, whose monitor is recorded while a pupil's script presses the keys
# and listens to the recording. With "lost", the server is killed in the
# middle of the game.
# Usage: voice_test.sh GAME PUPIL_SCRIPT [lost]
set -eu

game=$1
pupil=$2
case=${3:-whole}
# Each step of the pupil has its own limit; this one bounds the whole game.
time_limit=170
rate=16000

. "$(dirname "$0")/../desktop/private_desktop.sh"
start_x_server
start_session_bus
start_window_manager

# The sound server, with one sink that plays into nothing, at the rate of
# the recording.
# Its log tells, when the test fails, each stream's start, end and underrun.
pulseaudio --daemonize=no --exit-idle-time=-1 --use-pid-file=no --disallow-exit --disable-shm=yes -n \
  --log-level=debug --log-time=1 --log-target=stderr \
  --load="module-native-protocol-unix" --load="module-null-sink sink_name=pupil rate=$rate channels=1" \
  >"$scratch/pulseaudio.log" 2>&1 &
server_pid=$!
started $server_pid
keep_log "$scratch/pulseaudio.log"
wait_until 30 pactl info

parec --device=pupil.monitor --format=s16le --rate=$rate --channels=1 --latency-msec=20 >"$scratch/recording.raw" &
started $!

start_game "$game" --voce

status=0
timeout --kill-after=5 "$time_limit" /usr/bin/python3 "$pupil" "$case" "$scratch/recording.raw" "$rate" "$game_pid" \
  "$server_pid" || status=$?
if [ "$status" -ne 0 ]; then
  echo "FAIL: the pupil's script ended with status $status" >&2
  if [ -n "${QUORVENO_KEEP_RECORDING:-}" ]; then cp "$scratch/recording.raw" "$QUORVENO_KEEP_RECORDING"; fi
  exit "$status"
fi
check_game_log
