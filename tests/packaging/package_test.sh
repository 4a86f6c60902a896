#!/bin/sh
# Installs the built package on this machine and uses it as a school would:
# the record folder appears with the right owner and modes, two users share
# one record, a reinstall keeps the record, and removing and purging leave
# nothing behind. Needs root. Leaves the machine as it found it: a record
# folder that was there before is put aside and brought back at the end.
# Usage: package_test.sh BUILD_DIR
set -eu

build=$1
here=$(cd "$(dirname "$0")" && pwd)
record_dir=/var/games/quorveno
put_aside=$record_dir.saved-by-package-test
probe=$build/tests/packaging/plugins/generic/libquorveno_game_probe.so

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
ok() {
  echo "ok: $*"
}

[ "$(id -u)" -eq 0 ] || fail "installing a package needs root: sudo make package-test"
set -- "$build"/quorveno_*.deb
[ $# -eq 1 ] && [ -f "$1" ] || fail "expected exactly one package in $build: run make package"
deb=$1
[ -f "$probe" ] || fail "the game probe is not built: $probe"
case $(dpkg-query -W -f='${Status}' quorveno 2>/dev/null || true) in
  "" | *" not-installed") ;;
  *) fail "quorveno is installed on this machine already: purge it first (dpkg -P quorveno)" ;;
esac
[ ! -e "$put_aside" ] || fail "$put_aside is left from an earlier run: put it back as $record_dir first"

work=$(mktemp -d)
chmod 0755 "$work"
var_games_existed=no
[ -d /var/games ] && var_games_existed=yes
[ -e "$record_dir" ] && mv "$record_dir" "$put_aside"

restore() {
  status=$?
  dpkg --purge quorveno >/dev/null 2>&1 || true
  rm -rf "$record_dir"
  [ -e "$put_aside" ] && mv "$put_aside" "$record_dir"
  [ "$var_games_existed" = yes ] || rmdir /var/games 2>/dev/null || true
  rm -rf "$work"
  exit "$status"
}
trap restore EXIT
trap 'exit 130' INT TERM

# dpkg COMMAND...: runs dpkg, showing its output only when it fails.
run_dpkg() {
  dpkg "$@" >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log" >&2; fail "dpkg $*"; }
}

# Owner, mode and kind of a file, as "root:root 666 regular empty file".
describe() {
  stat -c '%U:%G %a %F' "$1"
}

expect_described() {
  [ "$(describe "$1")" = "$2" ] || fail "$1 should be $2, is: $(describe "$1")"
}

expect_record() {
  printf '%s\r\n' "$1" | cmp -s - "$record_dir/frsosem.txt" || fail "the record score should be $1"
  printf '%s\r\n' "$2" | cmp -s - "$record_dir/frsosem1.txt" || fail "the record holder should be $2"
}

# play UID NAME RIGHT_ANSWERS: the installed game, run by a user of that id
# with a bare environment, solves RIGHT_ANSWERS problems and leaves.
mkdir -p "$work/plugins/generic"
cp "$probe" "$work/plugins/generic/"
chmod -R a+rX "$work/plugins"
play() {
  mkdir -m 0700 "$work/home-$1"
  chown "$1:$1" "$work/home-$1"
  setpriv --reuid="$1" --regid="$1" --clear-groups \
    env -i PATH=/usr/bin:/bin HOME="$work/home-$1" QUORVENO_PROBE_NAME="$2" QUORVENO_PROBE_RIGHT_ANSWERS="$3" \
    sh "$here/run_installed_game.sh" /usr/games/quorveno "$work/plugins" >"$work/transcript-$1" ||
    { cat "$work/transcript-$1"; fail "user $1 could not play the installed game"; }
}

run_dpkg -i "$deb"
ok "installed with dpkg -i $(basename "$deb")"
dpkg -L quorveno >"$work/files"
grep -q '^/usr/games/quorveno$' "$work/files" || fail "the package does not hold /usr/games/quorveno"
! grep -q '^/var' "$work/files" || fail "the package ships files below /var"
expect_described "$record_dir" "root:root 755 directory"
expect_described "$record_dir/frsosem.txt" "root:root 666 regular empty file"
expect_described "$record_dir/frsosem1.txt" "root:root 666 regular empty file"
expect_described "$record_dir/.frsosem.journal" "root:root 666 regular empty file"
ok "$record_dir made by root, 0755, with both record files and the journal empty and 0666"

play 4711 Primo 1
expect_record 1 Primo
play 4712 Seconda 2
grep -q '^record shown: "1" by "Primo"$' "$work/transcript-4712" ||
  fail "the second user did not see the first user's record"
expect_record 2 Seconda
expect_described "$record_dir/frsosem.txt" "root:root 666 regular file"
expect_described "$record_dir/frsosem1.txt" "root:root 666 regular file"
expect_described "$record_dir/.frsosem.journal" "root:root 666 regular empty file"
[ "$(ls -A "$record_dir" | wc -l)" -eq 3 ] || fail "the saves left other files in $record_dir: $(ls -A "$record_dir")"
ok "user 4712 saw the record of user 4711 and beat it; the files stayed root's, 0666, the journal empty"

# An administrator's own choice must survive a reinstall as well; a folder
# that version 1.0 prepared, without the journal, gets it.
chmod 0750 "$record_dir"
rm "$record_dir/.frsosem.journal"
run_dpkg -i "$deb"
expect_described "$record_dir" "root:root 750 directory"
expect_described "$record_dir/frsosem.txt" "root:root 666 regular file"
expect_described "$record_dir/.frsosem.journal" "root:root 666 regular empty file"
expect_record 2 Seconda
ok "a reinstall kept the record and the folder as they were, and added the missing journal"

run_dpkg -r quorveno
while read -r path; do
  [ -d "$path" ] || [ ! -e "$path" ] || fail "$path is left after dpkg -r"
done <"$work/files"
expect_record 2 Seconda
ok "dpkg -r removed the game and kept the record"

run_dpkg -P quorveno
[ ! -e "$record_dir" ] || fail "$record_dir is left after dpkg -P"
case $(dpkg-query -W -f='${Status}' quorveno 2>/dev/null || true) in
  "" | *" not-installed") ;;
  *) fail "dpkg still knows quorveno after the purge" ;;
esac
ok "dpkg -P removed the record folder"
