#!/bin/sh
# Checks a staged install (a DESTDIR with prefix /usr): every file a desktop
# needs is there in the right form, the files name each other correctly, the
# manual page reads without warnings, and no record folder was staged.
# Usage: check_installed_files.sh STAGE_DIR
set -eu

stage=$1
usr=$stage/usr
app_id=org.example.quorveno
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# expect FILE TYPE: FILE exists and file(1) describes it as TYPE.
expect() {
  if [ ! -f "$usr/$1" ]; then
    fail "missing /usr/$1"
    return
  fi
  description=$(file -b "$usr/$1")
  case $description in
    *"$2"*) echo "ok: /usr/$1 ($2)" ;;
    *) fail "/usr/$1 should be $2, is: $description" ;;
  esac
}

# The value of KEY in GROUP of the desktop entry (the entry itself by default).
desktop_key() {
  awk -v key="$1" -v group="[${2:-Desktop Entry}]" '
    /^\[/ { inside = ($0 == group) }
    inside && index($0, key "=") == 1 { print substr($0, length(key) + 2) }
  ' "$usr/share/applications/$app_id.desktop"
}

expect games/quorveno "ELF"
[ -x "$usr/games/quorveno" ] || fail "/usr/games/quorveno is not executable"
expect share/applications/$app_id.desktop "text"
expect share/metainfo/$app_id.metainfo.xml "XML"
for size in 32 48 64 128; do
  expect share/icons/hicolor/${size}x${size}/apps/$app_id.png "PNG image data, $size x $size"
done
expect share/icons/hicolor/scalable/apps/$app_id.svg "SVG"
expect share/man/man6/quorveno.6.gz "gzip compressed"
expect lib/quorveno/libquorveno_voice.so "ELF"
expect lib/quorveno/quorveno-registra "ELF"
expect share/doc/quorveno/changelog.gz "gzip compressed"
# The helper links nothing of Qt's but Core: no widgets, no drawing.
if [ -f "$usr/lib/quorveno/quorveno-registra" ]; then
  linked=$(objdump -p "$usr/lib/quorveno/quorveno-registra" | awk '$1 == "NEEDED" { print $2 }')
  case $linked in
    *Qt6Gui* | *Qt6Widgets* | *Qt6Multimedia*) fail "quorveno-registra links more of Qt than Core: $linked" ;;
  esac
  echo "$linked" | grep -q '^libQt6Core' || fail "quorveno-registra should link Qt Core, links: $linked"
fi

if [ -e "$stage/var" ]; then
  fail "the record folder was staged: it must be made on the machine, not shipped"
fi

# The menu entry starts the installed game and shows the installed icon; the
# metainfo launches that entry and provides that game.
[ "$(desktop_key Exec)" = quorveno ] || fail "Exec= should start quorveno, is: $(desktop_key Exec)"
[ "$(desktop_key Icon)" = "$app_id" ] || fail "Icon= should name the installed icon $app_id"
[ "$(desktop_key Exec 'Desktop Action voce')" = "quorveno --voce" ] ||
  fail "the action voce should start quorveno --voce, is: $(desktop_key Exec 'Desktop Action voce')"
[ "$(desktop_key Exec 'Desktop Action allenamento')" = "quorveno --allenamento" ] ||
  fail "the action Allenamento should start quorveno --allenamento"
[ "$(desktop_key Exec 'Desktop Action tempo-disteso')" = "quorveno --minuti 15" ] ||
  fail "the action tempo disteso should start quorveno --minuti 15"
[ "$(desktop_key Exec "Desktop Action registro")" = "quorveno --riepilogo" ] ||
  fail "the action Registro della classe should start quorveno --riepilogo"
metainfo=$usr/share/metainfo/$app_id.metainfo.xml
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
  fail "the metainfo does not launch $app_id.desktop"
grep -q "<binary>quorveno</binary>" "$metainfo" || fail "the metainfo does not provide the binary quorveno"

if [ -f "$usr/share/man/man6/quorveno.6.gz" ]; then
  warnings=$(gzip -dc "$usr/share/man/man6/quorveno.6.gz" | groff -man -ww -z 2>&1)
  [ -z "$warnings" ] || fail "the manual page has warnings: $warnings"
fi

[ "$failures" -eq 0 ] || exit 1
