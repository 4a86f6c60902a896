#!/bin/sh
# Builds espeak-ng for 64-bit Windows (mingw-w64) from Debian's own source
# package: libespeak-ng.dll with its headers and import library, and the
# data its Italian voice reads (phonemes, intonations, the Italian
# dictionary), compiled by a native build of the same source, as espeak-ng
# compiles its data only with its own program. Kept in
#   ${XDG_CACHE_HOME:-~/.cache}/quorveno/espeak-ng-<Debian version>-mingw64
# A build that was interrupted starts anew.
#   build-espeak.sh      prints the folder of the built espeak-ng, building it first
set -eu
here=$(cd "$(dirname "$0")" && pwd)
jobs=${JOBS:-$(nproc)}

# Debian 12's own source of espeak-ng 1.51 is no longer on the archive (its
# .orig.tar.gz is gone): the next release's, whose 1.52 builds with CMake.
suite=trixie
version=1.52.0+dfsg-5
cache=${XDG_CACHE_HOME:-$HOME/.cache}/quorveno/espeak-ng-$version-mingw64
if [ -f "$cache/.complete" ]; then
  echo "$cache"
  exit 0
fi
work=$cache.work
rm -rf "$work" "$cache"
mkdir -p "$cache" "$work"
log=$work/build.log
echo "Building espeak-ng $version for Windows into $cache (the first time only; log: $log)" >&2
failed() {
  echo "Building espeak-ng for Windows failed; the last lines of $log:" >&2
  tail -n 30 "$log" >&2
  exit 1
}
sh "$here/fetch-debian-source.sh" --suite "$suite" "$work/src" "espeak-ng=$version" >>"$log" 2>&1 || failed
src=$(echo "$work"/src/espeak-ng-*/)

# The plain synthesiser, returning its samples to the caller: no MBROLA,
# Klatt or speech-player voices, no sound output or asynchronous mode of its
# own. Its build downloads libsonic unless it finds one: naming one that it
# is told not to use keeps the build offline.
options="-G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON -DBUILD_TESTING=OFF
  -DUSE_MBROLA=OFF -DUSE_KLATT=OFF -DUSE_SPEECHPLAYER=OFF -DUSE_ASYNC=OFF -DUSE_LIBPCAUDIO=OFF
  -DUSE_LIBSONIC=OFF -DSONIC_LIB=unused -DSONIC_INC=unused"
{
  # shellcheck disable=SC2086
  cmake -S "$src" -B "$work/windows" $options "-DCMAKE_TOOLCHAIN_FILE=$here/../../cmake/mingw-w64-x86_64.cmake" &&
    cmake --build "$work/windows" --parallel "$jobs" --target espeak-ng &&
    # shellcheck disable=SC2086
    cmake -S "$src" -B "$work/native" $options &&
    cmake --build "$work/native" --parallel "$jobs" --target espeak-ng-data/phondata espeak-ng-data/it_dict
} >>"$log" 2>&1 || failed

mkdir -p "$cache/bin" "$cache/lib" "$cache/include" "$cache/espeak-ng-data/lang/roa"
cp "$work/windows/src/libespeak-ng.dll" "$cache/bin/"
cp "$work/windows/src/libespeak-ng/libespeak-ng.dll.a" "$cache/lib/"
cp -r "$src/src/include/espeak-ng" "$cache/include/"
data=$work/native/espeak-ng-data
cp "$data/phondata" "$data/phonindex" "$data/phontab" "$data/intonations" "$data/it_dict" "$cache/espeak-ng-data/"
cp "$data/lang/roa/it" "$cache/espeak-ng-data/lang/roa/"
# Its licences and copyright notices (the GPL version 3 or later, and
# those of the files it took from others), for the folder it is installed in.
cp "$src/debian/copyright" "$cache/copyright"

rm -rf "$work"
touch "$cache/.complete"
echo "$cache"
