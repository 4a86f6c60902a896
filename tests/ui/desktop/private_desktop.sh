# Sourced by the tests that play the real game with real clients. Gives a
# scratch folder, and starts privately what a desktop would have: a virtual
# X server, a window manager, a D-Bus session with the AT-SPI bus. Every
# service started is stopped, and the scratch folder removed, on the way out.
# Nothing here uses the machine's own desktop, if it has one.

scratch=$(mktemp -d)
pids=""
logs=""
# stop_all [STATUS]: STATUS, or the status the script ends with, decides
# whether the logs are shown.
stop_all() {
  status=${1:-$?}
  for pid in $pids; do kill "$pid" 2>/dev/null || true; done
  for pid in $pids; do wait "$pid" 2>/dev/null || true; done
  if [ "$status" -ne 0 ]; then show_logs; fi
  rm -rf "$scratch"
}
trap stop_all EXIT
trap 'exit 1' INT TERM
mkdir -m 0700 "$scratch/runtime" "$scratch/home"
export XDG_RUNTIME_DIR="$scratch/runtime"
export HOME="$scratch/home"
export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share" XDG_CACHE_HOME="$HOME/.cache"

# Records a service started in the background, so that it is stopped.
started() { pids="$1 $pids"; }

# Records a log whose last lines are shown when the test fails.
keep_log() { logs="$logs $1"; }

# The last lines of each log kept, and all the game said (a sanitizer's
# report included), on standard error.
show_logs() {
  for log in $logs; do
    [ -s "$log" ] || continue
    echo "---- the last lines of ${log#"$scratch/"} ----" >&2
    tail -n 40 "$log" >&2
  done
  if [ -s "$scratch/game.log" ]; then
    echo "---- the game's standard output and error ----" >&2
    cat "$scratch/game.log" >&2
  fi
}

# Waits up to SECONDS for a command to succeed.
wait_until() {
  tries=$(($1 * 10))
  shift
  until "$@" >/dev/null 2>&1; do
    tries=$((tries - 1))
    if [ "$tries" -le 0 ]; then
      echo "FAIL: gave up waiting for: $*" >&2
      exit 1
    fi
    sleep 0.1
  done
}

start_x_server() {
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$scratch/display" 2>"$scratch/xvfb.log" &
  started $!
  keep_log "$scratch/xvfb.log"
  wait_until 20 test -s "$scratch/display"
  DISPLAY=":$(cat "$scratch/display")"
  export DISPLAY
}

# A window manager gives the windows the focus a pupil's desktop gives them.
# On a loaded machine it has once not taken the screen in time: it is then
# told on standard error with what it said, stopped and started again.
start_window_manager() {
  keep_log "$scratch/openbox.log"
  for attempt in 1 2 3; do
    openbox --sm-disable >"$scratch/openbox.log" 2>&1 &
    wm_pid=$!
    started $wm_pid
    if (wait_until 20 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'); then
      return 0
    fi
    echo "the window manager did not take the screen (attempt $attempt); it said:" >&2
    cat "$scratch/openbox.log" >&2
    kill "$wm_pid" 2>/dev/null || true
    wait "$wm_pid" 2>/dev/null || true
  done
  echo "FAIL: no window manager took the screen" >&2
  exit 1
}

start_session_bus() {
  dbus-daemon --session --nofork --print-address=3 3>"$scratch/bus" 2>"$scratch/bus.log" &
  started $!
  keep_log "$scratch/bus.log"
  wait_until 20 test -s "$scratch/bus"
  DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$scratch/bus")
  export DBUS_SESSION_BUS_ADDRESS
}

# Qt's bridge and the screen reader look for the AT-SPI bus on the session
# bus when they start.
start_accessibility_bus() {
  /usr/libexec/at-spi-bus-launcher --launch-immediately 2>"$scratch/launcher.log" &
  started $!
  keep_log "$scratch/launcher.log"
  wait_until 20 dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress
}

# Runs the game GAME [ARGUMENTS] in the background, on the X server with its
# accessibility on and its record in the scratch folder, for at most
# TIME_LIMIT seconds; its output goes to $scratch/game.log.
start_game() {
  # With strict string checks AddressSanitizer takes the X keyboard
  # library's strndup of a name that fills its buffer for an overflow
  # (google/sanitizers issue 907); the game's own code keeps every other check.
  mkdir -p "$scratch/record"
  ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}strict_string_checks=0" \
    QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 QUORVENO_RECORD_DIR="$scratch/record" \
    timeout --kill-after=5 "$time_limit" "$@" >"$scratch/game.log" 2>&1 &
  game_pid=$!
  started $game_pid
}

# Fails when a sanitizer reported a fault in the game; its report is shown
# with the game's output.
check_game_log() {
  if grep -Eq 'Sanitizer|runtime error' "$scratch/game.log"; then
    echo "FAIL: a sanitizer found a fault in the game" >&2
    return 1
  fi
}
