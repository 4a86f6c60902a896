#!/bin/sh
# A blind pupil plays a whole competition of the real game with Orca, the
# screen reader of Debian's desktops, then a practice. Orca speaks through speech-dispatcher,
# whose espeak-ng voice plays into libao's null output and whose log keeps
# every sentence Orca sent; the pupil's script reads that log, answers what
# it hears and presses keys as a pupil would.
# Usage: orca_test.sh GAME PUPIL_SCRIPT
set -eu

game=$1
pupil=$2
# Each step of the pupil has its own limit; this one bounds the whole game.
time_limit=170

. "$(dirname "$0")/../desktop/private_desktop.sh"
start_x_server
start_session_bus
start_accessibility_bus
start_window_manager

# speech-dispatcher with its own configuration: espeak-ng's Italian voice
# played into libao's null driver, so nothing needs a sound card.
mkdir -p "$scratch/speechd" "$scratch/speechd-log"
ln -s /etc/speech-dispatcher/modules "$scratch/speechd/modules"
cat >"$scratch/speechd/speechd.conf" <<'CONF'
AudioOutputMethod "libao"
AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"
DefaultModule espeak-ng
DefaultLanguage "it"
CONF
echo "default_driver=null" >"$HOME/.libao"
SPEECHD_ADDRESS="unix_socket:$XDG_RUNTIME_DIR/speechd.sock"
export SPEECHD_ADDRESS
speech-dispatcher --run-single --timeout 0 --config-dir "$scratch/speechd" --socket-path "$XDG_RUNTIME_DIR/speechd.sock" \
  --log-dir "$scratch/speechd-log" --log-level 5 >"$scratch/speechd.log" 2>&1 &
started $!
keep_log "$scratch/speechd.log"
keep_log "$scratch/speechd-log/speech-dispatcher.log"
wait_until 60 test -S "$XDG_RUNTIME_DIR/speechd.sock"

# Orca with its default settings, in a folder of its own; its debug log, which
# it writes only in large blocks, where QUORVENO_ORCA_DEBUG_LOG says.
orca --replace --user-prefs "$scratch/orca-prefs" ${QUORVENO_ORCA_DEBUG_LOG:+--debug-file "$QUORVENO_ORCA_DEBUG_LOG"} \
  >"$scratch/orca.log" 2>&1 &
started $!
keep_log "$scratch/orca.log"
spoken="$scratch/speechd-log/speech-dispatcher.log"
wait_until 60 grep -q "Queueing message" "$spoken"

# Qt's AT-SPI bridge leaks what the suppressions name. Qt is built without
# frame pointers, so AddressSanitizer (when the game is built with it) walks
# each allocation's stack the slow way, six frames deep: enough to reach the
# bridge's event filter, few enough to keep the game quick.
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}fast_unwind_on_malloc=0:malloc_context_size=6"
LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$(cd "$(dirname "$0")" && pwd)/qt_accessibility_leaks.supp"
export ASAN_OPTIONS LSAN_OPTIONS
# A competition, then a practice, which the pupil hears from what Orca says
# after the practice was started.
play() {
  status=0
  timeout --kill-after=5 "$time_limit" /usr/bin/python3 "$pupil" "$spoken" "$game_pid" "$@" || status=$?
  if [ "$status" -ne 0 ]; then
    echo "FAIL: the pupil's script ended with status $status" >&2
    exit "$status"
  fi
  check_game_log
}
start_game "$game"
play
said=$(grep -o "Queueing message |" "$spoken" | wc -l)
start_game "$game" --allenamento
play allenamento "$said"
