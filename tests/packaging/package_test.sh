#!/bin/sh
# Installs the built package on this machine and uses it as a school would:
# the record folder appears with the right owner and modes, an upgrade from
# version 1.0 (files every account could write) closes it keeping every
# byte and the administrator's dpkg-statoverride, an upgrade from 1.1 gives
# the files to the helper's account and moves the register into its closed
# folder, two pupils share one record through the set-user-id helper while
# they can neither find the register nor change a file by hand, a reinstall
# keeps the record, and removing and purging leave nothing behind but the
# helper's system account. Needs root. Leaves the machine as it found it: a
# record folder that was there before is put aside and brought back at the
# end, an account the package made is removed.
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
writer=quorveno
writer_existed=no
getent passwd "$writer" >/dev/null && writer_existed=yes
[ -e "$record_dir" ] && mv "$record_dir" "$put_aside"

restore() {
  status=$?
  dpkg --purge quorveno >/dev/null 2>&1 || true
  for path in "$record_dir/registro.csv" "$record_dir/registro/registro.csv"; do
    dpkg-statoverride --remove "$path" >/dev/null 2>&1 || true
  done
  rm -rf "$record_dir"
  if [ "$writer_existed" = no ] && getent passwd "$writer" >/dev/null; then
    userdel "$writer" && { ! getent group "$writer" >/dev/null || groupdel "$writer"; }
  fi
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
  mkdir -p -m 0700 "$work/home-$1"
  chown "$1:$1" "$work/home-$1"
  setpriv --reuid="$1" --regid="$1" --clear-groups \
    env -i PATH=/usr/bin:/bin HOME="$work/home-$1" QUORVENO_PROBE_NAME="$2" QUORVENO_PROBE_RIGHT_ANSWERS="$3" \
    sh "$here/run_installed_game.sh" /usr/games/quorveno "$work/plugins" >"$work/transcript-$1" ||
    { cat "$work/transcript-$1"; fail "user $1 could not play the installed game"; }
}

helper=/usr/lib/quorveno/quorveno-registra
register=$record_dir/registro/registro.csv
record_files_closed() {
  expect_described "$record_dir/frsosem.txt" "$writer:games 664 $1"
  expect_described "$record_dir/frsosem1.txt" "$writer:games 664 $1"
  expect_described "$record_dir/.frsosem.journal" "$writer:games 660 regular empty file"
  expect_described "$record_dir/registro" "$writer:games 750 directory"
  expect_described "$record_dir/.richieste" "$writer:$writer 700 directory"
}

run_dpkg -i "$deb"
ok "installed with dpkg -i $(basename "$deb")"
dpkg -L quorveno >"$work/files"
grep -q '^/usr/games/quorveno$' "$work/files" || fail "the package does not hold /usr/games/quorveno"
grep -q "^$helper\$" "$work/files" || fail "the package does not hold $helper"
! grep -q '^/var' "$work/files" || fail "the package ships files below /var"
expect_described "$helper" "$writer:root 4755 regular file"
expect_described "$record_dir" "root:games 755 directory"
record_files_closed "regular empty file"
getent passwd "$writer" | grep -q ":/nonexistent:/usr/sbin/nologin$" || fail "the account $writer: $(getent passwd "$writer")"
ok "$record_dir made root:games 0755, both record files empty, $writer:games 0664, the journal empty, $writer:games 0660, the register's folder $writer:games 0750, the requests' counts $writer:$writer 0700; the helper 4755 $writer:root; the system account $writer without login"
run_dpkg -P quorveno
[ ! -e "$record_dir" ] || fail "$record_dir is left after dpkg -P"
getent passwd "$writer" >/dev/null || fail "dpkg -P removed the account $writer, whose files a backup may still hold"

# stand_in VERSION: installs an empty package of that version.
stand_in() {
  rm -rf "$work/old" && mkdir -p "$work/old/DEBIAN"
  printf 'Package: quorveno\nVersion: %s\nArchitecture: all\nMaintainer: Test <test@quorveno.test>\nDescription: stand-in\n' \
    "$1" >"$work/old/DEBIAN/control"
  dpkg-deb --build "$work/old" "$work/quorveno_$1_all.deb" >/dev/null
  run_dpkg -i "$work/quorveno_$1_all.deb"
}

# Version 1.1 installed, its journal open to the pupils and holding a save
# that a stopped helper left, and a teacher's register beside the record.
stand_in 1.1.0
install -d -o root -g games -m 0755 "$record_dir"
for name in frsosem.txt frsosem1.txt .frsosem.journal; do install -o root -g games -m 0664 /dev/null "$record_dir/$name"; done
printf '3\n7\r\nNuovo\r\n' >"$record_dir/.frsosem.journal"
install -o root -g games -m 0660 /dev/null "$record_dir/registro.csv"
printf '\357\273\277data;ora\r\n2026-12-01;09:00:00;Anna' >"$record_dir/registro.csv"
cp -p "$record_dir/.frsosem.journal" "$work/old-journal"
cp -p "$record_dir/registro.csv" "$work/old-register"
register_inode=$(stat -c %i "$record_dir/registro.csv")
run_dpkg -i "$deb"
expect_described "$record_dir/.frsosem.journal" "$writer:games 660 regular file"
cmp -s "$work/old-journal" "$record_dir/.frsosem.journal" || fail "the upgrade from 1.1.0 changed the journal's content"
[ ! -e "$record_dir/registro.csv" ] || fail "the upgrade from 1.1.0 left the register where pupils see it"
expect_described "$register" "$writer:games 660 regular file"
cmp -s "$work/old-register" "$register" && [ "$(stat -c %i "$register")" = "$register_inode" ] ||
  fail "the upgrade from 1.1.0 did not move the register whole"
run_dpkg -P quorveno
ok "upgraded from 1.1.0: the journal became $writer:games 0660 and kept its unfinished save; the register, unfinished line included, moved whole into registro/, $writer:games 0660"

# Version 1.0 installed, its folder open to every account, a register made
# as its README said, and an administrator's choice for the register.
stand_in 1.0.0
install -d -o root -g root -m 0755 "$record_dir"
printf '1\r\n' >"$record_dir/frsosem.txt"
printf 'Vecchio\r\n' >"$record_dir/frsosem1.txt"
: >"$record_dir/.frsosem.journal"
printf '\357\273\277data;ora;alunno;gara;problema;risposta;esito;soluzione;errore\r\n2026-12-01;09:00:00;Vecchio;2026-12-01 08:59:00;1/5 + 1/5;2/5;giusto;2/5;\r\n' \
  >"$record_dir/registro.csv"
chmod 0666 "$record_dir/frsosem.txt" "$record_dir/frsosem1.txt" "$record_dir/.frsosem.journal" "$record_dir/registro.csv"
cp -p "$record_dir/registro.csv" "$work/old-register"
dpkg-statoverride --add root games 0640 "$record_dir/registro.csv"
run_dpkg -i "$deb"
expect_described "$record_dir" "root:games 755 directory"
record_files_closed "regular file"
expect_record 1 Vecchio
expect_described "$register" "root:games 640 regular file"
cmp -s "$work/old-register" "$register" || fail "the upgrade changed the register's content"
expect_described "$helper" "$writer:root 4755 regular file"
ok "upgraded from 1.0.0: the 0666 files became $writer:games 0664 (the journal 0660) with their record, the register moved into registro/ with every byte and its override root:games 0640"

# The teacher's register as the README makes it.
dpkg-statoverride --remove "$register"
chown "$writer:games" "$register"
chmod 0660 "$register"

for command in "cat $register" "stat $register" "ls $record_dir/registro" "echo 999 > $record_dir/frsosem.txt" \
  "echo Hacker > $record_dir/frsosem1.txt" ": > $register"; do
  if setpriv --reuid=4711 --regid=4711 --clear-groups sh -c "$command" >"$work/refusal" 2>&1; then
    fail "a pupil could run: $command"
  fi
  echo "refused as a pupil: $command -> $(cat "$work/refusal")"
done
mkdir -p -m 0700 "$work/home-4711"
chown 4711:4711 "$work/home-4711"
if setpriv --reuid=4711 --regid=4711 --clear-groups env -i PATH=/usr/bin:/bin HOME="$work/home-4711" \
  /usr/games/quorveno --riepilogo --output "$work/home-4711/r.html" >"$work/refusal" 2>&1; then
  fail "a pupil could read the register with quorveno --riepilogo"
fi
grep -q "^Solo l'insegnante può leggere il registro" "$work/refusal" || fail "--riepilogo as a pupil: $(cat "$work/refusal")"
echo "refused as a pupil: quorveno --riepilogo -> $(cat "$work/refusal")"
expect_record 1 Vecchio
cmp -s "$work/old-register" "$register" || fail "a pupil's command changed the register"
ok "a pupil can neither find the register nor change a record file or the register by hand"

play 4711 Primo 2
expect_record 2 Primo
play 4712 Seconda 3
grep -q '^record shown: "2" by "Primo"$' "$work/transcript-4712" ||
  fail "the second pupil did not see the first pupil's record"
expect_record 3 Seconda
record_files_closed "regular file"
expect_described "$register" "$writer:games 660 regular file"
[ "$(grep -c ';Primo;.*;giusto;.*;gara 10.$' "$register")" -eq 2 ] || fail "the register should hold 2 answers of Primo"
[ "$(grep -c ';Seconda;.*;giusto;.*;gara 10.$' "$register")" -eq 3 ] || fail "the register should hold 3 answers of Seconda"
[ "$(ls -A "$record_dir" | wc -l)" -eq 5 ] || fail "the saves left other files in $record_dir: $(ls -A "$record_dir")"
[ "$(ls -A "$record_dir/registro")" = registro.csv ] || fail "the saves left other files in registro/"
/usr/games/quorveno --riepilogo --output "$work/riepilogo.html" >/dev/null || fail "root could not read the register"
grep -q '<td>Seconda</td>' "$work/riepilogo.html" || fail "the class summary read by root does not name Seconda"
grep -q '<td>Vecchio</td>' "$work/riepilogo.html" || fail "the class summary does not read the line of version 1.0"
echo "the machine-wide folder after two pupils played:"
ls -la "$record_dir"
ok "pupils 4711 and 4712 shared the record and appended 5 register lines through the helper; modes unchanged"

# An administrator's own choice survives a reinstall; a missing journal is added.
chmod 0750 "$record_dir"
rm "$record_dir/.frsosem.journal"
run_dpkg -i "$deb"
expect_described "$record_dir" "root:games 750 directory"
record_files_closed "regular file"
expect_described "$register" "$writer:games 660 regular file"
expect_record 3 Seconda
ok "a reinstall kept the record and the folder as they were, and added the missing journal"

run_dpkg -r quorveno
while read -r path; do
  [ -d "$path" ] || [ ! -e "$path" ] || fail "$path is left after dpkg -r"
done <"$work/files"
expect_record 3 Seconda
ok "dpkg -r removed the game and kept the record"

run_dpkg -P quorveno
[ ! -e "$record_dir" ] || fail "$record_dir is left after dpkg -P"
case $(dpkg-query -W -f='${Status}' quorveno 2>/dev/null || true) in
  "" | *" not-installed") ;;
  *) fail "dpkg still knows quorveno after the purge" ;;
esac
ok "dpkg -P removed the record folder"
