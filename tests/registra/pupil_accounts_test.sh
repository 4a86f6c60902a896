#!/bin/bash
# The machine-wide record folder as the package lays it out, with a copy of
# the built helper made set-user-id to the writer's account, used from
# pupils' accounts (uids without privileges, through setpriv): a pupil can
# neither find the register nor change any file by hand, nor stop or kill
# the helper, yet plays and saves through it; a pupil's flood of requests
# is cut at the rate; a helper killed at any moment of a save leaves the
# record whole, and its busy loops keep no other pupil's save waiting;
# links, a fifo, huge or malformed requests and a hostile environment write
# nothing they should not. Runs as root, in a mount namespace of its own
# where /var/games is a folder of the test, so the machine is left alone.
# The game and the helper are copies laid out as installed; the kills are
# made by strace as the helper enters a step that changes a file.
# Usage: pupil_accounts_test.sh GAME HELPER PROBE_PLUGIN_DIR KILLS
set -euo pipefail

game_built=$1
helper_built=$2
probe_plugins=$3
kills=$4
here=$(cd "$(dirname "$0")" && pwd)
first_pupil=4711
second_pupil=4712
flooding_pupil=4713
busy_pupil=4714
# The helper's account, as the package's adduser would make it.
writer=4700

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
ok() {
  echo "ok: $*"
}

[ "$(id -u)" -eq 0 ] || fail "run as root: the pupils' accounts are acted with setpriv, the helper is made set-user-id"
getent group games >/dev/null || fail "this machine has no group games"

if [ -z "${QUORVENO_TEST_NAMESPACE:-}" ]; then
  QUORVENO_TEST_NAMESPACE=1 exec unshare --mount --propagation private bash "$0" "$@"
fi

work=$(mktemp -d)
# The mounts go with the namespace, but their mount points in $work must be
# free before it is removed.
trap 'pkill -KILL -u "$busy_pupil" || true; umount /var/games; [ ! -d "$work/layer" ] || umount /var "$work/layer"; rm -rf "$work"' EXIT
chmod 0755 "$work"
dir=/var/games/quorveno
# Where the machine has no /var/games, one is made in a layer over /var that
# only this namespace sees.
if [ ! -d /var/games ]; then
  mkdir "$work/layer"
  mount -t tmpfs layer "$work/layer"
  mkdir "$work/layer/upper" "$work/layer/work"
  mount -t overlay var -o "lowerdir=/var,upperdir=$work/layer/upper,workdir=$work/layer/work" /var
  mkdir /var/games
fi
mkdir "$work/var-games"
mount --bind "$work/var-games" /var/games

# The installed layout: the game in games/, the helper in lib/quorveno/.
mkdir -p "$work/usr/games" "$work/usr/lib/quorveno" "$work/plugins"
cp "$game_built" "$work/usr/games/quorveno"
helper=$work/usr/lib/quorveno/quorveno-registra
cp "$helper_built" "$helper"
cp -r "$probe_plugins/generic" "$work/plugins/"
chmod -R a+rX "$work/usr" "$work/plugins"
chown "$writer:root" "$helper"
chmod 4755 "$helper"
[ "$(stat -c %a "$helper")" = 4755 ] || fail "the file system refused the set-user-id bit: $(stat -c %a "$helper")"
mount_options=$(findmnt -no OPTIONS -T "$helper" || true)
case ",$mount_options," in
  *,nosuid,*) fail "the file system of $work is mounted nosuid: set-id bits are ignored there" ;;
esac

install -d -o root -g games -m 0755 "$dir"
for name in frsosem.txt frsosem1.txt; do
  install -o "$writer" -g games -m 0664 /dev/null "$dir/$name"
done
install -o "$writer" -g games -m 0660 /dev/null "$dir/.frsosem.journal"
install -d -o "$writer" -g games -m 0750 "$dir/registro"
install -d -o "$writer" -g "$writer" -m 0700 "$dir/.richieste"
register=$dir/registro/registro.csv
install -o "$writer" -g games -m 0660 /dev/null "$register"

for uid in "$first_pupil" "$second_pupil"; do
  mkdir -m 0700 "$work/home-$uid"
  chown "$uid:$uid" "$work/home-$uid"
done
# as_pupil UID COMMAND...: runs in place of this shell's child, so that the
# child's process id is the command's.
as_pupil() {
  local uid=$1
  shift
  exec setpriv --reuid="$uid" --regid="$uid" --clear-groups env -i PATH=/usr/bin:/bin HOME="$work/home-$uid" "$@"
}

# The state of every file of the folder, the register's included: names,
# owners, modes, contents (the requests' counts aside).
folder_state() {
  (cd "$dir" && for f in $(find . -path './.richieste/*' -prune -o -print | sort); do
    stat -c '%n %u:%g %a %F' "$f"
    [ ! -f "$f" ] || od -c "$f"
  done)
}

expect_record() {
  printf '%s\r\n' "$1" | cmp -s - "$dir/frsosem.txt" || fail "the record score should be $1, is: $(od -c "$dir/frsosem.txt")"
  printf '%s\r\n' "$2" | cmp -s - "$dir/frsosem1.txt" || fail "the record holder should be $2, is: $(od -c "$dir/frsosem1.txt")"
}

games=$(getent group games | cut -d: -f3)
expect_layout() {
  local listing
  listing=$(cd "$dir" && stat -c '%n %u:%g %a' . .frsosem.journal .richieste frsosem.txt frsosem1.txt registro registro/*)
  [ "$listing" = ". 0:$games 755
.frsosem.journal $writer:$games 660
.richieste $writer:$writer 700
frsosem.txt $writer:$games 664
frsosem1.txt $writer:$games 664
registro $writer:$games 750
registro/registro.csv $writer:$games 660" ] || fail "the folder's files changed owner or mode, or others appeared: $listing"
  [ "$(ls -A "$dir" | wc -l)" -eq 5 ] || fail "other files appeared in $dir: $(ls -A "$dir")"
}

# ask_helper UID REQUEST: the helper's exit status, its answer in $work/answer.
ask_helper() {
  local status=0
  printf '%b' "$2" | (as_pupil "$1" "$helper") >"$work/answer" 2>"$work/helper-errors" || status=$?
  [ ! -s "$work/helper-errors" ] || fail "the helper wrote to standard error: $(cat "$work/helper-errors")"
  echo "$status"
}

# 1. What a pupil could do by hand: the register cannot even be found.
printf '\xEF\xBB\xBFdata;ora;alunno;gara;problema;risposta;esito;soluzione;errore;modalit\xC3\xA0\r\n' >"$register"
before=$(folder_state)
refused=0
for command in "cat $register" "stat $register" "ls $dir/registro" "ls $dir/.richieste" \
  "echo 999 > $dir/frsosem.txt" "echo Hacker > $dir/frsosem1.txt" ": > $register"; do
  if (as_pupil "$first_pupil" sh -c "$command") >"$work/out" 2>&1; then
    fail "a pupil could run: $command"
  fi
  echo "refused as a pupil: $command -> $(cat "$work/out")"
  refused=$((refused + 1))
done
[ "$before" = "$(folder_state)" ] || fail "the pupil's commands changed the folder"
(as_pupil "$first_pupil" "$work/usr/games/quorveno" --riepilogo --output "$work/home-$first_pupil/r.html") \
  >"$work/out" 2>&1 && fail "a pupil could read the register with --riepilogo"
grep -q "^Solo l'insegnante può leggere il registro $register (permesso negato)" "$work/out" ||
  fail "--riepilogo as a pupil should say that only the teacher reads the register: $(cat "$work/out")"
echo "refused as a pupil: quorveno --riepilogo -> $(cat "$work/out")"
ok "the $refused commands and the class summary are refused to a pupil, the folder unchanged"

# 2. Two pupils play the installed game in turn.
play() {
  (as_pupil "$1" QUORVENO_PROBE_NAME="$2" QUORVENO_PROBE_RIGHT_ANSWERS="$3" \
    bash "$here/../packaging/run_installed_game.sh" "$work/usr/games/quorveno" "$work/plugins") >"$work/transcript-$1" ||
    { cat "$work/transcript-$1"; fail "pupil $1 could not play"; }
}
play "$first_pupil" Primo 1
expect_record 1 Primo
# The first pupil holds a lock on each record file while the second plays;
# the journal, which the saves lock, is closed to it.
(as_pupil "$first_pupil" flock -x "$dir/frsosem.txt" flock -x "$dir/frsosem1.txt" sleep 600) >/dev/null 2>&1 &
until ! flock -n -x "$dir/frsosem1.txt" true; do sleep 0.05; done
(as_pupil "$first_pupil" flock -n -s "$dir/.frsosem.journal" true) 2>/dev/null && fail "a pupil could lock the journal"
play "$second_pupil" Seconda 2
pkill -KILL -u "$first_pupil" && wait
grep -q '^record shown: "1" by "Primo"$' "$work/transcript-$second_pupil" ||
  fail "the second pupil did not see the first pupil's record"
expect_record 2 Seconda
[ "$(grep -c ';Primo;' "$register")" -eq 1 ] || fail "the register should hold one line of Primo"
[ "$(grep -c ';Seconda;.*;giusto;.*;gara 10.$' "$register")" -eq 2 ] || fail "the register should hold two right answers of Seconda"
[ ! -s "$dir/.frsosem.journal" ] || fail "the journal was left full"
expect_layout
ok "two pupils played: the record went 1 Primo, then 2 Seconda (while the first held locks on both record files), and the register got their 3 lines, through the helper"

# 3. The kill loop: the helper killed at random moments of saves. An
# unkilled save, traced, lists every step that changes a file (a write, a
# cut, a flush to disk); each save of the loop is killed by strace as it
# enters one of them, chosen at random, so every moment of the save is hit.
changes="pwrite64,write,ftruncate,fsync,fdatasync,rename,unlink"
printf 'record\n3\nAlunno3\n' >"$work/request"
strace -f -qq -o "$work/trace" -e trace="$changes" \
  setpriv --reuid="$first_pupil" --regid="$first_pupil" --clear-groups env -i "$helper" <"$work/request" >/dev/null
expect_record 3 Alunno3
# The steps on the record folder's files, not the answer on standard output.
grep -oE '^[0-9]+ +(pwrite64|write|ftruncate|fsync|fdatasync|rename|unlink)\([3-9]' "$work/trace" |
  awk '{ sub(/\(.*/, "", $2); print $2 }' >"$work/steps"
steps=$(wc -l <"$work/steps")
[ "$steps" -ge 6 ] || fail "a traced save changed files in only $steps steps: $(cat "$work/trace")"
whole_pair() {
  local points name
  points=$(tr -d '\r\n' <"$dir/frsosem.txt")
  name=$(tr -d '\r\n' <"$dir/frsosem1.txt")
  [ "$name" = "Alunno$points" ]
}
torn=0
journaled=0
landed=0
previous=3
# Each save by a pupil of its own, so that no account reaches the rate.
for i in $(seq 1 "$kills"); do
  score=$((3 + i))
  killed_pupil=$((5000 + i))
  step=$((RANDOM % steps + 1))
  call=$(sed -n "${step}p" "$work/steps")
  nth=$(head -n "$step" "$work/steps" | grep -cx "$call")
  printf 'record\n%s\nAlunno%s\n' "$score" "$score" >"$work/request"
  strace -f -qq -o /dev/null -e trace="$call" -e inject="$call:signal=KILL:when=$nth" \
    setpriv --reuid="$killed_pupil" --regid="$killed_pupil" --clear-groups env -i "$helper" \
    <"$work/request" >/dev/null 2>&1 || true
  whole_pair || torn=$((torn + 1))
  [ ! -s "$dir/.frsosem.journal" ] || journaled=$((journaled + 1))
  # The next run, by the other pupil, finishes whatever was left.
  [ "$(ask_helper $((killed_pupil + kills)) 'record\n0\n\n')" = 0 ] || fail "finishing after kill $i failed: $(cat "$work/answer")"
  whole_pair || fail "after kill $i (before $call number $nth) and the next run, the pair is torn:" \
    "$(od -c "$dir/frsosem.txt") $(od -c "$dir/frsosem1.txt")"
  points=$(tr -d '\r\n' <"$dir/frsosem.txt")
  [ "$points" -ge "$previous" ] && [ "$points" -le "$score" ] || fail "after kill $i the record went from $previous to $points"
  [ "$points" -ne "$score" ] || landed=$((landed + 1))
  previous=$points
  [ ! -s "$dir/.frsosem.journal" ] || fail "after kill $i the journal stayed full"
done
expect_layout
ok "kill loop: $kills helpers killed as they entered one of the $steps steps of a save that change a file ($(tr '\n' ' ' <"$work/steps")):" \
  "$journaled left a full journal and $torn the two files torn; after the next run every pair was whole and the record never" \
  "went down: $landed saves in place (finished from the journal), $((kills - landed)) lost whole" \
  "(killed before the journal was written)"

# 4. Hostile requests and files.
expect_refused() {
  local state
  state=$(folder_state)
  status=$(ask_helper "$first_pupil" "$2")
  [ "$status" = 2 ] || fail "$1: the helper should refuse (2), ended $status"
  [ "$state" = "$(folder_state)" ] || fail "$1: the folder changed"
  ok "$1: refused, nothing written"
}
expect_refused "a malformed score" 'record\n12a\nAnna\n'
expect_refused "a name with a line feed and a fourth line" 'record\n999\nAnna\nrecord\n'
expect_refused "a register line with CR in the name" 'riga\n2026-12-07 09:31:05\n2026-12-07 09:30:00\n1 2 5 3 5\ngiusto\n3\n5\nAn\rna\ngara 10\n'
expect_refused "a register line with a zero denominator" 'riga\n2026-12-07 09:31:05\n2026-12-07 09:30:00\n1 2 0 3 0\ngiusto\n3\n0\nAnna\ngara 10\n'
expect_refused "a register line for a problem the game never poses" 'riga\n2026-12-07 09:31:05\n2026-12-07 09:30:00\n1000 2 5 1002 5\ngiusto\n1002\n5\nAnna\ngara 10\n'
expect_refused "a register line of a competition the game never holds" 'riga\n2026-12-07 09:31:05\n2026-12-07 09:30:00\n1 2 5 3 5\ngiusto\n3\n5\nAnna\ngara 25\n'
huge_state=$(folder_state)
status=0
head -c 100000000 /dev/zero | tr '\0' '9' | (as_pupil "$first_pupil" "$helper") >/dev/null 2>&1 || status=$?
[ "$status" = 2 ] && [ "$huge_state" = "$(folder_state)" ] || fail "a huge request: ended $status or changed the folder"
ok "a request of 100 MB: refused, nothing written"

# A register grown past any class's (sparse: it takes no room).
size=$(stat -c %s "$register") && truncate -s 1G "$register"
status=$(ask_helper "$first_pupil" 'riga\n2026-12-07 09:31:05\n2026-12-07 09:30:00\n1 2 5 3 5\ngiusto\n3\n5\nAnna\ngara 10\n')
[ "$status" = 1 ] && [ "$(stat -c %s "$register")" = $((1 << 30)) ] || fail "a register of 1 GiB: ended $status"
truncate -s "$size" "$register"
ok "a register of 1 GiB: no line added ($(cat "$work/answer"))"

# Limits the pupil sets on the helper: a file-size limit (which, moved a
# byte at a time, would tell the register's size), too few descriptors, or
# the idle scheduling class or a niceness (either of which, beside the
# pupil's own busy loops, would hold a lock for seconds).
# Refused before any file is looked at: the same answer with a register or
# without one, and nothing written.
limited_answer() {
  status=0
  printf '%b' 'riga
2026-12-07 09:31:05
2026-12-07 09:30:00
1 2 5 3 5
giusto
3
5
Anna
gara 10
' |
    (as_pupil "$first_pupil" $(case "$1" in --idle) echo chrt --idle 0 ;; --nice) echo nice -n 19 ;;
                                 *) echo prlimit "$1" ;; esac) "$helper") >"$work/answer" ||
    status=$?
  echo "$status $(cat "$work/answer")"
}
for limit in --fsize=$(($(stat -c %s "$register") + 20)) --nofile=8 --idle --nice; do
  before=$(folder_state)
  with_register=$(limited_answer "$limit")
  mv "$register" "$work/kept"
  without_register=$(limited_answer "$limit")
  mv "$work/kept" "$register"
  [ "$with_register" = "$without_register" ] && [ "${with_register%% *}" = 3 ] ||
    fail "$limit: '$with_register' with the register, '$without_register' without"
  [ "$before" = "$(folder_state)" ] || fail "$limit: the folder changed"
  ok "$limit: refused alike with a register and without ($with_register), nothing written"
done

# A caller that ignores and blocks SIGALRM, never ends its request and stops
# the helper as it waits for it (a read of fd 0): the helper ends in its time.
mkfifo -m 0666 "$work/never" && exec 7<>"$work/never" && started=$SECONDS
(as_pupil "$first_pupil" python3 -c 'import os, signal as s, sys; s.signal(s.SIGALRM, s.SIG_IGN)
s.pthread_sigmask(s.SIG_BLOCK, {s.SIGALRM}); os.sched_setaffinity(0, {0}); os.execv(sys.argv[1], sys.argv[1:])' \
  "$helper") <"$work/never" >/dev/null 2>&1 &
until [ "$(cut -d' ' -f1,2 /proc/$!/syscall 2>/dev/null)" = "0 0x0" ] || [ $((SECONDS - started)) -ge 30 ]; do sleep 0.05; done
# Pinned to one processor by the caller: free again.
[ "$(grep Cpus_allowed_list /proc/$!/status)" = "$(grep Cpus_allowed_list /proc/self/status)" ] ||
  fail "the helper kept its caller's pinning: $(grep Cpus_allowed_list /proc/$!/status)"
for signal in STOP KILL; do
  setpriv --reuid="$first_pupil" --regid="$first_pupil" --clear-groups kill -$signal $! 2>/dev/null &&
    fail "the pupil could send SIG$signal to the helper it started"
done
while kill -0 $! 2>/dev/null && [ $((SECONDS - started)) -lt 30 ]; do sleep 0.2; done
took=$((SECONDS - started)) && exec 7>&-
[ "$took" -ge 9 ] && [ "$took" -lt 30 ] || { kill -KILL $! 2>/dev/null; fail "the stubborn caller's helper ended after $took s, not by its 10 s limit"; }
ok "SIGALRM ignored and blocked by the caller, its pinning to one processor undone, SIGSTOP and SIGKILL refused to the pupil: the helper ended by itself after $took s"

# The helper in the foreground of the pupil's own terminal, which signals
# its foreground job whatever the user ids: interrupt, quit and stop typed
# once it waits for its request, then the request and end of input.
home=$work/home-$first_pupil
(as_pupil "$first_pupil" python3 -c 'import os, pty, sys, time
pid, terminal = pty.fork()
if pid == 0: os.execv(sys.argv[1], sys.argv[1:])
open(sys.argv[2] + "/helper-pid", "w").write(str(pid))
while not os.path.exists(sys.argv[2] + "/go"): time.sleep(0.05)
os.write(terminal, b"\x03\x1c\x1aleggi\n\x04")
try:
    while os.read(terminal, 4096): pass
except OSError: pass
status = os.waitpid(pid, 0)[1]
print("signal", os.WTERMSIG(status)) if os.WIFSIGNALED(status) else print("status", os.WEXITSTATUS(status))' \
  "$helper" "$home") >"$work/terminal-outcome" 2>&1 &
started=$SECONDS
until [ -s "$home/helper-pid" ] && [ "$(cut -d' ' -f1,2 "/proc/$(cat "$home/helper-pid")/syscall" 2>/dev/null)" = "0 0x0" ]; do
  [ $((SECONDS - started)) -lt 30 ] || fail "the helper in a terminal never waited for its request"
  sleep 0.05
done
touch "$home/go" && wait $!
[ "$(cat "$work/terminal-outcome")" = "status 0" ] || fail "keys typed in the helper's terminal: $(cat "$work/terminal-outcome")"
ok "interrupt, quit and stop typed in the pupil's terminal: ignored, the request then served"

# A file the writer's account may write, which a link must not reach.
install -o "$writer" -g games -m 0660 /dev/null "$work/other-game-scores"
chmod 0755 "$work"
line_request='riga\n2026-12-07 09:31:05\n2026-12-07 09:30:00\n1 2 5 3 5\ngiusto\n3\n5\nAnna\ngara 10\n'
for victim in registro/registro.csv frsosem1.txt; do
  mv "$dir/$victim" "$work/kept"
  ln -s "$work/other-game-scores" "$dir/$victim"
  request=$line_request
  [ "$victim" = registro/registro.csv ] || request='record\n9999\nHacker\n'
  status=$(ask_helper "$first_pupil" "$request")
  [ "$status" = 1 ] || fail "$victim as a link: the helper should fail (1), ended $status"
  [ ! -s "$work/other-game-scores" ] || fail "$victim as a link: the helper wrote through it"
  rm "$dir/$victim"
  mv "$work/kept" "$dir/$victim"
  ok "$victim as a link: refused ($(cat "$work/answer")), nothing written through it"
done
whole_pair || fail "the record was torn through a link"

mv "$register" "$work/kept"
mkfifo -m 0660 "$register"
chown "$writer:games" "$register"
status=0
printf '%b' "$line_request" | (as_pupil "$first_pupil" timeout 20 "$helper") >"$work/answer" 2>&1 || status=$?
[ "$status" != 124 ] || fail "a fifo in place of the register: the helper hung"
[ "$status" = 1 ] || fail "a fifo in place of the register: the helper should fail (1), ended $status"
rm "$register"
mv "$work/kept" "$register"
ok "a fifo in place of the register: refused at once ($(cat "$work/answer"))"

mv "$register" "$work/kept"
status=$(ask_helper "$first_pupil" "$line_request")
[ "$status" = 0 ] && [ ! -e "$register" ] || fail "no register: the helper ended $status, or made one"
mv "$work/kept" "$register"
ok "no register: the line dropped, answered as one written ($(cat "$work/answer")), so a pupil cannot tell"

# A library that would leave a mark if the loader took it, and every
# variable that steers the loader, Qt or the C library.
printf '#include <stdio.h>\n__attribute__((constructor)) static void mark(void) { fclose(fopen("%s/marked", "w")); }\n' \
  "$work/home-$first_pupil" >"$work/mark.c"
cc -shared -fPIC -o "$work/mark.so" "$work/mark.c"
chmod a+r "$work/mark.so"
mkdir -p "$work/home-$first_pupil/plugins"
before_score=$(tr -d '\r\n' <"$dir/frsosem.txt")
hostile_score=$((before_score + 1))
status=0
printf 'record\n%s\nAlunno%s\n' "$hostile_score" "$hostile_score" |
  (as_pupil "$first_pupil" LD_PRELOAD="$work/mark.so" LD_LIBRARY_PATH="$work" LD_AUDIT="$work/mark.so" LD_DEBUG=all \
    GCONV_PATH="$work" MALLOC_CHECK_=3 TMPDIR="$work" QT_PLUGIN_PATH="$work/home-$first_pupil/plugins" \
    QT_QPA_PLATFORM=xcb QT_DEBUG_PLUGINS=1 QT_LOGGING_RULES='*=true' QT_FATAL_WARNINGS=1 QT_HASH_SEED=1 \
    QT_QPA_GENERIC_PLUGINS=quorveno_game_probe LANG=xx_XX.UTF-8 LC_ALL=C \
    "$helper") >"$work/answer" 2>"$work/helper-errors" || status=$?
[ "$status" = 0 ] || fail "with a hostile environment the helper ended $status: $(cat "$work/answer") $(cat "$work/helper-errors")"
[ ! -s "$work/helper-errors" ] || fail "with a hostile environment the helper wrote to standard error: $(head -c 400 "$work/helper-errors")"
[ ! -e "$work/home-$first_pupil/marked" ] || fail "the loader loaded LD_PRELOAD into the helper"
expect_record "$hostile_score" "Alunno$hostile_score"
expect_layout
ok "a hostile environment (loader, Qt and C library variables): ignored, the save done and nothing else written"

# 5. One pupil's flood, from one process: cut at the rate (120 in one
# minute of the clock), nothing written past it, another pupil still served.
lines_before=$(wc -l <"$register")
read -r passed status minutes limit_said < <(printf '%b' "$line_request" | as_pupil "$flooding_pupil" python3 -c '
import subprocess, sys, time
request, first, passed = sys.stdin.buffer.read(), time.time(), 0
while True:
    run = subprocess.run([sys.argv[1]], input=request, capture_output=True)
    if run.returncode != 0 or passed > 1000: break
    passed += 1
print(passed, run.returncode, int(time.time() // 60 - first // 60) + 1, run.stdout.decode().strip())' "$helper")
[ "$status" = 4 ] || fail "the flood ended with status $status after $passed lines"
[ "$passed" -ge 120 ] && [ "$passed" -le $((120 * minutes)) ] || fail "the flood was cut after $passed lines in $minutes minutes"
[ $(($(wc -l <"$register") - lines_before)) -eq "$passed" ] || fail "the register did not get exactly the $passed lines let through"
[ "$(ask_helper "$second_pupil" "$line_request")" = 0 ] || fail "after one pupil's flood another was refused: $(cat "$work/answer")"
expect_layout
ok "a flood of lines from one pupil: $passed written over $minutes minutes of the clock, then refused ($limit_said); another pupil still served"

# 6. One pupil's busy loops, several per processor, beside its hammering of
# the helper at normal niceness: another pupil's saves and reads succeed.
hammer=$work/hammer && install -d -o "$busy_pupil" "$hammer" && printf 'leggi\n' >"$hammer/read"
for _ in $(seq $((3 * $(nproc)))); do (as_pupil "$busy_pupil" sh -c 'while :; do :; done') & done
for first in 1000 1500; do (as_pupil "$busy_pupil" sh -c 'score=$2; while [ ! -e "$1/stop" ]; do score=$((score + 1))
  printf "record\n%s\nAlunno%s\n" $score $score | "$3" >/dev/null; echo $? >>"$1/served"
  "$3" <"$1/read" >/dev/null; echo $? >>"$1/served"; done' sh "$hammer" "$first" "$helper") & done
started=$SECONDS
until [ -s "$hammer/served" ]; do [ $((SECONDS - started)) -lt 30 ] || fail "the hammering never started"; sleep 0.05; done
for score in 30001 30002 30003; do
  [ "$(ask_helper "$second_pupil" "record\n$score\nAlunno$score\n")$(cat "$work/answer")" = 0salvato ] &&
    [ "$(ask_helper "$second_pupil" 'leggi\n')" = 0 ] || fail "beside the busy loops: $(cat "$work/answer")"
done
touch "$hammer/stop" && pkill -KILL -u "$busy_pupil" && wait
expect_record 30003 Alunno30003
ok "beside $((3 * $(nproc))) busy loops of one pupil, $(grep -cx 0 "$hammer/served") of its requests served: another's saves and reads all served"
