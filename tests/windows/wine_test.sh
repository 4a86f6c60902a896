#!/bin/sh
# The Windows build tried under Wine, in a private Wine prefix on a private X
# server with a window manager, all started here and stopped at the end:
#  1. the installer installs silently, with the teacher's register;
#  2. the installed game is played by keyboard (xdotool): the name, the
#     start-up boxes, a right and a wrong answer, the counters read back, and
#     the exit with a new record, whose files are then checked, as is a
#     register line per answer;
#  3. a second game shows that record;
#  4. the class summary of that register is written with --output;
#  5. the files' own tests run as Windows programs;
#  6. the uninstaller removes the program and keeps the record.
# A plugin loaded into the game (game_watcher.cpp) writes each change of the
# window to a log, and every key waits for the state it is meant for.
# Usage: wine_test.sh WINDOWS_BUILD_DIR
set -eu

build=$(cd "$1" && pwd)
setup=$(ls "$build"/quorveno-*-setup.exe)
scratch=$(mktemp -d)
failed=no
fail() {
  echo "FAIL: $*" >&2
  failed=yes
}

export WINEPREFIX="$scratch/prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
drive_c=$WINEPREFIX/drive_c
program_dir="$drive_c/Program Files/Quorveno"
data_dir=$drive_c/ProgramData/Quorveno
game='C:\Program Files\Quorveno\quorveno.exe'

x_server=""
window_manager=""
stop_all() {
  wineserver -k 2>/dev/null || true
  [ -z "$window_manager" ] || kill "$window_manager" 2>/dev/null || true
  [ -z "$x_server" ] || kill "$x_server" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$scratch"
}
trap stop_all EXIT
trap 'exit 1' INT TERM

# Waits until a command succeeds, for at most $1 seconds.
within() {
  limit=$(($(date +%s) + $1))
  shift
  until "$@"; do
    [ "$(date +%s)" -lt "$limit" ] || return 1
    sleep 0.1
  done
}

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$scratch/display" 2>"$scratch/xvfb.log" &
x_server=$!
within 30 test -s "$scratch/display" || { fail "Xvfb did not start"; cat "$scratch/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(cat "$scratch/display")"
openbox --sm-disable >"$scratch/openbox.log" 2>&1 &
window_manager=$!

echo "Wine prefix ..."
wine wineboot --init >"$scratch/wineboot.log" 2>&1 || { fail "wineboot failed"; cat "$scratch/wineboot.log" >&2; exit 1; }

echo "Silent installation: $(basename "$setup") /S /REGISTRO"
wine "$setup" /S /REGISTRO >"$scratch/setup.log" 2>&1 || fail "the installer ended with status $?"
for file in quorveno.exe Qt6Core.dll Qt6Widgets.dll plugins/platforms/qwindows.dll translations/qtbase_it.qm disinstalla.exe; do
  [ -f "$program_dir/$file" ] || fail "not installed: $file"
done
for file in frsosem.txt frsosem1.txt .frsosem.journal frsosem.lck registro.csv; do
  [ -f "$data_dir/$file" ] || fail "not in the record folder: $file"
done
[ -f "$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Quorveno/Quorveno.lnk" ] || fail "no Start-menu entry"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorveno'
wine reg query "$uninstall_key" /v UninstallString >/dev/null 2>&1 || fail "not listed among the installed programs"
[ "$failed" = no ] || exit 1

# Wine passes no QT_ variable of the host to its programs: the watcher's are
# set in the prefix's own environment.
wine reg add 'HKCU\Environment' /v QT_PLUGIN_PATH /d "$(winepath -w "$build/tests/windows/plugins")" /f >/dev/null
wine reg add 'HKCU\Environment' /v QT_QPA_GENERIC_PLUGINS /d quorveno_game_watcher /f >/dev/null

# One game, with the watcher's log; $state is the window's latest state.
log=""
seen=0
state=""
start_game() {
  log=$scratch/$1.log
  : >"$log"
  seen=0
  state=""
  QUORVENO_WATCH_LOG="$(winepath -w "$log")" wine "$game" >"$scratch/$1.out" 2>&1 &
  game_process=$!
}
new_state() {
  [ "$(wc -l <"$log")" -gt "$seen" ] || return 1
  seen=$(wc -l <"$log")
  state=$(tail -n 1 "$log")
  echo "    $state"
}
# Waits until the latest state matches the extended regular expression $1.
wait_for() {
  until echo "$state" | grep -Eq -- "$1"; do
    within 30 new_state || { fail "waited 30 s for a state like: $1; the last one was: $state"; return 1; }
  done
}
keys() {
  echo "    keys: $*"
  xdotool key --delay 80 "$@"
}
typed() {
  echo "    typed: $1"
  xdotool type --delay 80 "$1"
}

# The name, then every start-up box with Enter, until a problem is posed
# with the focus in the upper answer box.
begin() {
  wait_for '^asked: ' || return 1
  typed "$1"
  keys Return
  until echo "$state" | grep -q '^problem .*focus txtAnswer$'; do
    within 30 new_state || { fail "no problem posed; the last state was: $state"; return 1; }
    case $state in box:*) keys Return ;; esac
  done
}
answer() {
  numerator=$1 denominator=$2
  typed "$numerator"
  keys Return
  wait_for 'focus Text3$' || return 1
  [ -z "$denominator" ] || typed "$denominator"
  keys Return
}
# Alt+X, "Sì" to the question, then Enter for any box until the game has ended.
leave() {
  keys alt+x
  limit=$(($(date +%s) + 60))
  while kill -0 "$game_process" 2>/dev/null; do
    if [ "$(date +%s)" -ge "$limit" ]; then
      fail "the game did not end; the last state was: $state"
      wineserver -k
      break
    fi
    if within 2 new_state; then
      # "No" is the question's default; S presses "Sì".
      case $state in *'[&Sì]'*) keys s ;; box:*) keys Return ;; esac
    fi
  done
  wait "$game_process" || fail "the game ended with status $?"
}
solution() { echo "$state" | sed -E 's/^problem [^=]*= ([0-9]*)\/([0-9]*);.*/\1 \2/'; }

echo "A competition played by keyboard"
start_game first
if begin Ada; then
  import -window root "$build/quorveno-under-wine.png" 2>/dev/null || true
  set -- $(solution)
  answer "$1" "${2:-}"
  wait_for '; score 1 0 1;' || true
  keys Return
  wait_for '^problem .*; score 1 0 1; .*focus txtAnswer$' || true
  set -- $(solution)
  answer "$(($1 + 1))" "${2:-}"
  wait_for '; score 1 1 2;' || true
fi
leave
printf '1\r\n' | cmp -s - "$data_dir/frsosem.txt" || fail "the record score is not 1: $(od -c "$data_dir/frsosem.txt")"
printf 'Ada\r\n' | cmp -s - "$data_dir/frsosem1.txt" || fail "the record holder is not Ada"
[ "$(grep -c ';Ada;.*;giusto;' "$data_dir/registro.csv")" = 1 ] || fail "the register lacks the right answer"
[ "$(grep -c ';Ada;.*;sbagliato;' "$data_dir/registro.csv")" = 1 ] || fail "the register lacks the wrong answer"

echo "A second game shows the record"
start_game second
begin Bea && wait_for 'record 1 by "Ada"'
leave

echo "The class summary"
page=$scratch/riepilogo.html
wine "$game" --riepilogo 'C:\ProgramData\Quorveno\registro.csv' --output "$(winepath -w "$page")" \
  >"$scratch/summary.out" 2>&1 || fail "the class summary ended with status $?: $(cat "$scratch/summary.out")"
grep -q '<td>Ada</td>' "$page" 2>/dev/null || fail "the class summary does not name Ada"
wine "$game" --help 2>&1 | grep -q 'Uso: quorveno' || fail "--help printed no usage"

echo "The files' own tests"
runtime="$(winepath -w "$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")")"
qt_bin="$(winepath -w "$(sed -n 's/^QT_BIN=//p' "$build/windows-tests.txt")")"
while read -r test_program; do
  case $test_program in '' | QT_BIN=*) continue ;; esac
  echo "  $(basename "$test_program")"
  # Qt Test writes its report to the debugger's channel on Windows: to a file.
  WINEPATH="$qt_bin;$runtime;$(winepath -w /usr/x86_64-w64-mingw32/lib)" \
    wine "$test_program" -o "$(winepath -w "$scratch/test.txt"),txt" >/dev/null 2>&1 ||
    { fail "$(basename "$test_program")"; cat "$scratch/test.txt"; }
done <"$build/windows-tests.txt"

echo "Silent removal keeps the record"
wine "$program_dir/disinstalla.exe" /S >/dev/null 2>&1 || fail "the uninstaller ended with status $?"
within 60 test ! -e "$program_dir/quorveno.exe" || fail "the program is still installed"
within 30 test ! -e "$program_dir" || fail "the program's folder is left: $(ls "$program_dir")"
printf '1\r\n' | cmp -s - "$data_dir/frsosem.txt" || fail "the record went with the program"
wine reg query "$uninstall_key" >/dev/null 2>&1 && fail "still listed among the installed programs"

if [ "$failed" = yes ]; then
  for file in "$scratch"/first.log "$scratch"/first.out "$scratch"/second.log "$scratch"/second.out; do
    [ -f "$file" ] && { echo "--- $(basename "$file")"; tail -n 20 "$file"; }
  done
  exit 1
fi
echo "Windows build under Wine: passed"
