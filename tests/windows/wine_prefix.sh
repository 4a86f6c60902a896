# Sourced after tests/ui/desktop/private_desktop.sh by what runs the Windows
# build under Wine: a Wine prefix of its own in the scratch folder, whose
# every process is gone on the way out. start_wine starts the private desktop
# and the prefix's server, and makes the prefix.
export WINEPREFIX="$scratch/prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# The prefix's processes, by the prefix their environment names: Wine's
# services (winedevice.exe and the like) can outlive a server merely stopped.
prefix_processes() {
  for environ in /proc/[0-9]*/environ; do
    # Errors first to nowhere: a process may end between the listing and the reading.
    if tr '\0' '\n' 2>/dev/null <"$environ" | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
      pid=${environ#/proc/}
      echo "${pid%/environ}"
    fi
  done
}
# On the way out, passed or failed: the server ends every program of the
# prefix, the desktop's services stop, and a process of the prefix still
# there fails the run and is killed.
stop_wine_then_all() {
  status=$?
  timeout 20 wineserver -k >/dev/null 2>&1 || true
  stop_all "$status"
  left=""
  for _ in $(seq 100); do
    left=$(prefix_processes)
    [ -n "$left" ] || return 0
    sleep 0.1
  done
  echo "FAIL: processes of the Wine prefix still running:" >&2
  for pid in $left; do echo "$pid: $(tr '\0' ' ' 2>/dev/null <"/proc/$pid/cmdline")" >&2; done
  kill -9 $left 2>/dev/null || true
  exit 1
}
trap stop_wine_then_all EXIT

start_wine() {
  start_x_server
  start_window_manager
  # The server works in the prefix's folder: made first, or it ends at once.
  mkdir "$WINEPREFIX"
  wineserver --foreground --persistent &
  started $!
  timeout 300 wine wineboot --init >/dev/null 2>&1 || { echo "FAIL: Wine could not make its prefix" >&2; exit 1; }
}
