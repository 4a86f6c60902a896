#!/bin/sh
# `make bench-windows`: the bench's game and floor built for Windows, started
# under Wine on a private X server, from a copy of the game's folder as the
# installer puts it (stripped Qt, its plugins and qt.conf), by the start-up
# runner beside them. Prints the runner's figures with the conditions of the run.
# Usage: windows_bench.sh WINDOWS_BUILD_DIR
set -eu

build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../tests/ui/desktop/private_desktop.sh"
. "$here/../tests/windows/wine_prefix.sh"

stage=$build/packaging/windows/stage/Quorveno
[ -f "$stage/qt.conf" ] || { echo "bench: no game folder in $stage: build it with make windows" >&2; exit 1; }
start_wine
folder=$WINEPREFIX/drive_c/Quorveno
cp -R "$stage" "$folder"
cp "$build"/bench/quorveno_bench_*.exe "$folder"
# Stripped as the game is, so that neither program maps more than a pupil's would.
x86_64-w64-mingw32-strip --strip-unneeded "$folder"/quorveno_bench_*.exe

echo "# $(wine --version), windows platform on a private X server," \
  "load average before: $(cut -d ' ' -f 1-3 /proc/loadavg)"
status=0
timeout --kill-after=10 900 wine 'C:\Quorveno\quorveno_bench_start_up.exe' >"$scratch/figures" || status=$?
tr -d '\r' <"$scratch/figures"
echo "# load average after: $(cut -d ' ' -f 1-3 /proc/loadavg)"
[ "$status" -eq 0 ] || { echo "bench: the start-up runner ended with status $status" >&2; exit 1; }
