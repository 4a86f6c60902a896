# Sourced, after private_desktop.sh, by the tests that hear the game through
# a real sound server: a private PulseAudio server whose one sink plays into
# nothing, its monitor recorded, and a pupil's script that listens to the
# recording (voice_pupil.py).

# start_sound_server RATE: the server, found by its clients through
# $XDG_RUNTIME_DIR, with the sink at the rate of the recording; sets
# server_pid. The sink never rewinds: a rewind, made when a stream comes out
# of an underrun as Wine's does at its first sentence, takes back from the
# recording what it had already heard. Its log tells, when the test fails,
# each stream's start, end and underrun.
start_sound_server() {
  rate=$1
  pulseaudio --daemonize=no --exit-idle-time=-1 --use-pid-file=no --disallow-exit --disable-shm=yes -n \
    --log-level=debug --log-time=1 --log-target=stderr \
    --load="module-native-protocol-unix" \
    --load="module-null-sink sink_name=pupil rate=$rate channels=1 norewinds=1" \
    >"$scratch/pulseaudio.log" 2>&1 &
  server_pid=$!
  started $server_pid
  keep_log "$scratch/pulseaudio.log"
  wait_until 30 pactl info
}

# record NAME: records the sink into $scratch/NAME.raw from now on, in
# place of any earlier recording, for the next game the pupil hears.
record() {
  if [ -n "${recorder_pid:-}" ]; then kill "$recorder_pid" 2>/dev/null || true; fi
  recording=$scratch/$1.raw
  parec --device=pupil.monitor --format=s16le --rate="$rate" --channels=1 --latency-msec=20 >"$recording" &
  recorder_pid=$!
  started $recorder_pid
}

# listen PUPIL_SCRIPT CASE SECONDS: the pupil plays CASE by ear with the game
# $game_pid, through the latest recording, for at most SECONDS; its status
# is the pupil's. The recording is kept in $QUORVENO_KEEP_RECORDING, when
# set, if the pupil fails.
listen() {
  heard=0
  timeout --kill-after=5 "$3" /usr/bin/python3 "$1" "$2" "$recording" "$rate" "$game_pid" \
    "$server_pid" || heard=$?
  if [ "$heard" -ne 0 ]; then
    echo "FAIL: the pupil's script ended with status $heard" >&2
    if [ -n "${QUORVENO_KEEP_RECORDING:-}" ]; then cp "$recording" "$QUORVENO_KEEP_RECORDING"; fi
  fi
  return "$heard"
}
