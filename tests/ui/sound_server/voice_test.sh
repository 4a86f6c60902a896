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

. "$(dirname "$0")/../desktop/private_desktop.sh"
. "$(dirname "$0")/sound_server.sh"
start_x_server
start_session_bus
start_window_manager
start_sound_server 16000
record voice

start_game "$game" --voce
listen "$pupil" "$case" "$time_limit"
check_game_log
