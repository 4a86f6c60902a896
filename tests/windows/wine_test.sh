#!/bin/sh
# The Windows build under Wine, in its own prefix on the private desktop the
# game's other real-client tests use: silent install, a game played by
# keyboard (xdotool) and watched from inside by game_watcher.cpp, a second
# game, the class summary, the files' own tests, silent removal keeping the
# record; then the Windows Installer package: refused over that installation,
# undone when an access list fails, installed, played, upgraded and removed,
# the record kept throughout. The game with its voice, started from its
# Start-menu entry, is heard through a private sound server, as on Linux
# (tests/ui/sound_server). On failure the watcher's logs and the keys typed
# are shown.
# Usage: wine_test.sh WINDOWS_BUILD_DIR
set -eu

build=$(cd "$1" && pwd)
. "$(dirname "$0")/../ui/desktop/private_desktop.sh"
. "$(dirname "$0")/wine_prefix.sh"
. "$(dirname "$0")/../ui/sound_server/sound_server.sh"
failed=no
fail() { echo "FAIL: $*" >&2; failed=yes; }
program_dir="$WINEPREFIX/drive_c/Program Files/Quorveno"
data_dir=$WINEPREFIX/drive_c/ProgramData/Quorveno
game='C:\Program Files\Quorveno\quorveno.exe'
start_menu='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Quorveno'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorveno'
keys=$scratch/keys.log
keep_log "$keys"

start_wine

echo "A silent installation whose access lists fail says so"
# Wine's icacls sets nothing and says it did; told to load a native icacls,
# which the prefix lacks, it cannot start at all.
status=0
WINEDLLOVERRIDES="$WINEDLLOVERRIDES;icacls.exe=n" wine "$build"/quorveno-*-setup.exe /S >/dev/null 2>&1 || status=$?
[ "$status" -ne 0 ] || fail "the installer reported success with no access list set"
grep -q 'frsosem.lck.*: [1-9]' "$program_dir/installazione.log" 2>/dev/null ||
  fail "the installation's log does not name the access list that failed"
[ ! -e "$program_dir/../../ProgramData/Microsoft/Windows/Start Menu/Programs/Quorveno/Registro della classe (insegnante).lnk" ] ||
  fail "the teacher's entry is in the Start menu of an installation without the register"

echo "Silent installation with the register"
wine "$build"/quorveno-*-setup.exe /S /REGISTRO >/dev/null 2>&1 || fail "the installer ended with status $?"
for file in quorveno.exe Qt6Widgets.dll plugins/platforms/qwindows.dll translations/qtbase_it.qm disinstalla.exe \
  libquorveno_voice.dll libespeak-ng.dll espeak-ng-data/it_dict \
  ../../ProgramData/Microsoft/Windows/Start\ Menu/Programs/Quorveno/Quorveno.lnk \
  "../../ProgramData/Microsoft/Windows/Start Menu/Programs/Quorveno/Allenamento (senza tempo).lnk" \
  "../../ProgramData/Microsoft/Windows/Start Menu/Programs/Quorveno/Quorveno (tempo disteso, 15 minuti).lnk" \
  "../../ProgramData/Microsoft/Windows/Start Menu/Programs/Quorveno/Quorveno con voce.lnk" \
  "../../ProgramData/Microsoft/Windows/Start Menu/Programs/Quorveno/Registro della classe (insegnante).lnk" \
  licenze/GPL-3.txt ../../ProgramData/Quorveno/frsosem.txt ../../ProgramData/Quorveno/frsosem.lck \
  ../../ProgramData/Quorveno/registro.csv; do
  [ -f "$program_dir/$file" ] || fail "not installed: $file"
done
wine reg query "$uninstall_key" /v UninstallString >/dev/null 2>&1 || fail "not among the installed programs"
[ "$failed" = no ] || exit 1
# Wine passes no QT_ variable of the host to its programs: the watcher's are
# in the prefix's own environment.
wine reg add 'HKCU\Environment' /v QT_PLUGIN_PATH /d "$(winepath -w "$build/tests/windows/plugins")" /f >/dev/null
wine reg add 'HKCU\Environment' /v QT_QPA_GENERIC_PLUGINS /d quorveno_game_watcher /f >/dev/null

# A game and its log; $state is the window's latest state. Started as from
# the Start menu, through the shell, with no console: the program, or a
# Start-menu entry, and the program's own arguments follow the log's name.
play_game() {
  log=$scratch/$1.log
  shift
  : >"$log"
  keep_log "$log"
  seen=0 state=""
  QUORVENO_WATCH_LOG="$(winepath -w "$log")" wine start /wait "$@" >/dev/null 2>&1 &
  game_process=$!
}
new_state() {
  [ "$(wc -l <"$log")" -gt "$seen" ] || return 1
  seen=$(wc -l <"$log")
  state=$(tail -n 1 "$log")
}
# Waits until the latest state matches the extended regular expression $1.
wait_for() {
  echo "waiting for: $1" >>"$keys"
  until printf '%s\n' "$state" | grep -Eq -- "$1"; do wait_until 30 new_state; done
}
# press key KEY... or press type TEXT, with xdotool.
press() { echo "$*" >>"$keys"; command=$1; shift; xdotool "$command" --delay 80 "$@"; }

# The name, then Enter for every start-up box until a problem is posed.
begin() {
  wait_for '^asked: '
  press type "$1"
  press key Return
  until echo "$state" | grep -q '^problem .*focus txtAnswer$'; do
    wait_until 30 new_state
    case $state in box:*) press key Return ;; esac
  done
}
# The numerator plus $1 over the solution's denominator.
answer() {
  set -- "$1" $(echo "$state" | sed -E 's/^problem [^=]*= ([0-9]*)\/([0-9]*);.*/\1 \2/')
  press type "$(($2 + $1))"
  press key Return
  wait_for 'focus Text3$'
  [ -z "${3:-}" ] || press type "$3"
  press key Return
}
# Alt+X, S for "Sì" (the question's default is "No"), Enter for any other
# box, until the game ends.
leave() {
  press key alt+x
  limit=$(($(date +%s) + 60))
  while kill -0 "$game_process" 2>/dev/null && [ "$(date +%s)" -lt "$limit" ]; do
    if new_state; then
      case $state in *'[&Sì]'*) press key s ;; box:*) press key Return ;; esac
    fi
    sleep 0.1
  done
  ! kill -0 "$game_process" 2>/dev/null || { fail "the game did not end"; wineserver -k; }
  wait "$game_process" || fail "the game ended with status $?"
}

echo "A competition played by keyboard"
play_game first "$game"
begin Ada
import -window root "$build/quorveno-under-wine.png" 2>/dev/null || true
# What a screen reader reads first, from another process, bounded in time.
root=$(timeout --kill-after=5 30 wine "$build/uia_root.exe" Quorveno 2>/dev/null | tr -d '\r') || true
echo "$root" | grep -Eq '^Name= *Quorveno ControlType=50032 HasKeyboardFocus=1$' ||
  fail "the window's UI Automation element: ${root:-no answer}"
answer 0
wait_for '; score 1 0 1;'
press key Return
wait_for '^problem .*; score 1 0 1; .*focus txtAnswer$'
answer 1
wait_for '; score 1 1 2;'
leave
printf '1\r\n' | cmp -s - "$data_dir/frsosem.txt" || fail "the record score is not 1"
printf 'Ada\r\n' | cmp -s - "$data_dir/frsosem1.txt" || fail "the record holder is not Ada"
for verdict in giusto sbagliato; do
  [ "$(grep -c ";Ada;.*;$verdict;" "$data_dir/registro.csv")" = 1 ] || fail "no register line $verdict"
done

echo "A second game shows the record"
play_game second "$game"
begin Bea
wait_for 'record 1 by "Ada"'
leave

echo "The game with its voice, from its Start-menu entry, heard through a sound server"
# Wine plays through its PulseAudio driver, to the server the environment
# names: the private one.
start_sound_server 16000
voice_pupil=$(dirname "$0")/../ui/sound_server/voice_pupil.py
# The pupil's answers go to a record of their own, leaving the shared one
# as the other games made it.
mkdir "$scratch/voice-record"
QUORVENO_RECORD_DIR=$(winepath -w "$scratch/voice-record")
export QUORVENO_RECORD_DIR
record voice
play_game voice "$start_menu\Quorveno con voce.lnk"
game_pid=$game_process
listen "$voice_pupil" first 170 || { fail "the voice"; wineserver -k; }
wait "$game_process" || fail "the game with its voice ended with status $?"
echo "The voice's sound server lost in the middle of a game is told once"
record voice-lost
play_game voice-lost "$game" --voce
game_pid=$game_process
listen "$voice_pupil" lost 170 || { fail "the voice's loss"; wineserver -k; }
wait "$game_process" || fail "the game that lost its voice ended with status $?"
unset QUORVENO_RECORD_DIR

echo "The class summary and --help"
wine "$game" --riepilogo 'C:\ProgramData\Quorveno\registro.csv' --output "$(winepath -w "$scratch/page.html")" \
  >/dev/null 2>&1 || fail "the class summary ended with status $?"
grep -q '<td>Ada</td>' "$scratch/page.html" 2>/dev/null || fail "the class summary does not name Ada"
wine "$game" --help 2>&1 | grep -q 'Uso: quorveno' || fail "--help printed no usage"

echo "The teacher's entry, without a console, tells what failed in a box"
play_game missing-register "$game" --riepilogo 'C:\ProgramData\Quorveno\nessuno.csv'
wait_for '^box: Non riesco a leggere il registro C:\\ProgramData\\Quorveno\\nessuno\.csv: '
press key Return
status=0
wait "$game_process" || status=$?
[ "$status" -eq 1 ] || fail "the class summary of a missing register ended with status $status"

echo "The files' own tests"
runtime_dir=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")
qt_bin=$(sed -n 's/^QT_BIN=//p' "$build/windows-tests.txt")
export WINEPATH="$(winepath -w "$qt_bin");$(winepath -w "$runtime_dir");$(winepath -w /usr/x86_64-w64-mingw32/lib)"
for test_program in $(grep -v '^QT_BIN=' "$build/windows-tests.txt"); do
  echo "  $(basename "$test_program")"
  # Qt Test writes its report to the debugger's channel on Windows: to a file.
  wine "$test_program" -o "$(winepath -w "$scratch/test.txt"),txt" >/dev/null 2>&1 ||
    { fail "$(basename "$test_program")"; cat "$scratch/test.txt"; }
done

# msiexec, as Wine passes on its exit status: the low byte of Windows's
# code (1603, the installation failed, is 67).
msi_file=$(ls "$build"/quorveno-*.msi)
msi=$(winepath -w "$msi_file")
run_msiexec() { status=0; wine msiexec "$@" /qn >/dev/null 2>&1 || status=$?; }
echo "The Windows Installer package is refused over the other installer's installation"
run_msiexec /i "$msi"
[ "$status" -eq 67 ] || fail "the package ended with status $status over the other installation"
[ -f "$program_dir/disinstalla.exe" ] || fail "the refused package changed the other installation"

echo "Silent removal keeps the record"
wine "$program_dir/disinstalla.exe" /S >/dev/null 2>&1 || fail "the uninstaller ended with status $?"
# The uninstaller removes the files from a copy of itself, after this
# command has ended; what it leaves, and what runs, is told.
(wait_until 60 test ! -e "$program_dir") ||
  fail "the uninstaller left: $(cd "$program_dir" && find . | tr '\n' ' '); running: $(pgrep -af '\.exe' | tr '\n' ';')"
printf '1\r\n' | cmp -s - "$data_dir/frsosem.txt" || fail "the record went with the program"
wine reg query "$uninstall_key" >/dev/null 2>&1 && fail "still among the installed programs"

# Wine's msiexec puts the Start-menu entries of every user in the
# administrator's own menu: an entry is looked for in both.
in_start_menu() { find "$WINEPREFIX/drive_c" -path "*/Start Menu/Programs/Quorveno/$1.lnk" | grep -q .; }
# The display versions of the installed programs named Quorveno.
installed_versions() {
  wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null | tr -d '\r' |
    awk '$1 == "DisplayName" { name = $3 } $1 == "DisplayVersion" && name == "Quorveno" { print $3; name = "" }'
}
record_and_register_kept() {
  printf '1\r\n' | cmp -s - "$data_dir/frsosem.txt" || fail "$1 lost the record"
  grep -q ';Ada;' "$data_dir/registro.csv" || fail "$1 lost the register"
}

echo "The Windows Installer package: a failed access list undoes the installation"
status=0
WINEDLLOVERRIDES="$WINEDLLOVERRIDES;icacls.exe=n" wine msiexec /i "$msi" /qn >/dev/null 2>&1 || status=$?
[ "$status" -ne 0 ] || fail "the package reported success with no access list set"
grep -q 'frsosem.lck.*: [1-9]' "$program_dir/installazione.log" 2>/dev/null ||
  fail "the package's log does not name the access list that failed"
[ ! -e "$program_dir/quorveno.exe" ] || fail "the failed installation was not undone"

echo "The Windows Installer package, silently, with the register"
run_msiexec /i "$msi" REGISTRO=1
[ "$status" -eq 0 ] || fail "the package ended with status $status"
for file in quorveno.exe prepara_record.cmd Qt6Widgets.dll plugins/platforms/qwindows.dll licenze/GPL-3.txt; do
  [ -f "$program_dir/$file" ] || fail "not installed by the package: $file"
done
for entry in Quorveno "Allenamento (senza tempo)" "Quorveno (tempo disteso, 15 minuti)" "Quorveno con voce" \
  "Registro della classe (insegnante)"; do
  in_start_menu "$entry" || fail "not in the Start menu: $entry"
done
record_and_register_kept "the package's installation"
play_game package "$game"
begin Cleo
wait_for 'record 1 by "Ada"'
leave

echo "The next version's package upgrades it"
version=$(basename "$msi_file" .msi)
version=${version#quorveno-}
next=${version%.*}.$((${version##*.} + 1))
cmake -DVERSION="$next" -DOUTPUT="$scratch/next.msi" -P "$build/packaging/windows/make_msi.cmake" >/dev/null
run_msiexec /i "$(winepath -w "$scratch/next.msi")"
[ "$status" -eq 0 ] || fail "the upgrade ended with status $status"
[ "$(installed_versions)" = "$next" ] || fail "installed after the upgrade: $(installed_versions | tr '\n' ' ')"
in_start_menu "Registro della classe (insegnante)" || fail "the upgrade dropped the teacher's entry"
record_and_register_kept "the upgrade"

echo "Silent removal of the package keeps the record and the register"
run_msiexec /x "$(winepath -w "$scratch/next.msi")"
[ "$status" -eq 0 ] || fail "the removal ended with status $status"
[ ! -e "$program_dir/quorveno.exe" ] || fail "the removal left the game"
! in_start_menu Quorveno || fail "the removal left the Start-menu entry"
[ -z "$(installed_versions)" ] || fail "still among the installed programs: $(installed_versions | tr '\n' ' ')"
record_and_register_kept "the removal"

[ "$failed" = no ] || exit 1
echo "Windows build under Wine: passed"
