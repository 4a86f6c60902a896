#!/bin/sh
# Builds Qt for 64-bit Windows (mingw-w64) from Debian's own source packages
# of the host's Qt version: qtbase, then qtshadertools, which Qt Multimedia
# needs to build, then Qt Multimedia. Only the installed Qt is kept, in
#   ${XDG_CACHE_HOME:-~/.cache}/quorveno/qt-<host Qt's Debian version>-mingw64
# so that an upgrade of the host's Qt builds it again. A module already built
# is not built again when an interrupted run is started anew.
#   build-qt.sh          prints the folder of the installed Qt, building it first
set -eu
here=$(cd "$(dirname "$0")" && pwd)
toolchain=$here/../../cmake/mingw-w64-x86_64.cmake
jobs=${JOBS:-$(nproc)}

version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/quorveno/qt-$version-mingw64
if [ -f "$cache/.complete" ]; then
  echo "$cache"
  exit 0
fi
prefix=$cache.partial
work=$cache.work
mkdir -p "$prefix" "$work"
log=$work/build.log
echo "Building Qt $version for Windows into $cache (the first time only; log: $log)" >&2

if [ ! -f "$work/sources.unpacked" ]; then
  rm -rf "$work/src"
  sh "$here/fetch-debian-source.sh" "$work/src" qt6-base qt6-shadertools qt6-multimedia >>"$log" 2>&1
  touch "$work/sources.unpacked"
fi
source_of() { find "$work/src" -mindepth 1 -maxdepth 1 -type d -name "$1-*" | head -n 1; }

# Each step: configure, build, install; a stamp marks it done.
module() {
  name=$1; shift
  [ -f "$work/$name.installed" ] && return 0
  echo "  $name ..." >&2
  rm -rf "$work/build-$name"
  mkdir -p "$work/build-$name"
  (cd "$work/build-$name" && "$@" && cmake --build . --parallel "$jobs" && cmake --install .) >>"$log" 2>&1 || {
    echo "Building $name for Windows failed; the last lines of $log:" >&2
    tail -n 30 "$log" >&2
    exit 1
  }
  rm -rf "$work/build-$name"
  touch "$work/$name.installed"
}

# No SQL, printing, D-Bus, ICU, OpenSSL or Vulkan: the game uses none. The
# +dfsg source lacks the Wintab headers, hence no tablet events. Direct2D
# stays: without it qwindows.dll does not link in 6.4 (its DirectWrite font
# database is built only with it).
module qtbase "$(source_of qt6-base)/configure" -prefix "$prefix" -qt-host-path /usr \
  -xplatform win32-g++ -release -opensource -confirm-license -nomake examples -nomake tests \
  -no-dbus -no-icu -no-openssl -no-pkg-config -no-feature-sql -no-feature-printsupport \
  -no-feature-tabletevent -no-feature-vulkan -no-feature-androiddeployqt -opengl desktop \
  -qt-zlib -qt-pcre -qt-libpng -qt-libjpeg -qt-harfbuzz -qt-freetype \
  -- -G Ninja "-DCMAKE_TOOLCHAIN_FILE=$toolchain" -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake

module qtshadertools "$prefix/bin/qt-cmake" -G Ninja "$(source_of qt6-shadertools)"

# Media Foundation's check looks for capitalised import libraries and two
# headers are included with capitals that mingw-w64 spells in lower case:
# name the libraries, and give the headers under both spellings.
shims=$work/include-shims
mkdir -p "$shims"
echo '#include <mferror.h>' > "$shims/Mferror.h"
echo '#include <wmcodecdsp.h>' > "$shims/Wmcodecdsp.h"
mingw_lib=/usr/x86_64-w64-mingw32/lib
module qtmultimedia "$prefix/bin/qt-cmake" -G Ninja "$(source_of qt6-multimedia)" \
  "-DCMAKE_CXX_FLAGS=-I$shims" -DQT_FEATURE_ffmpeg=OFF -DQT_FEATURE_gstreamer=OFF \
  "-DWMF_MF_LIBRARY=$mingw_lib/libmf.a" "-DWMF_MFUUID_LIBRARY=$mingw_lib/libmfuuid.a" \
  "-DWMF_MFPLAT_LIBRARY=$mingw_lib/libmfplat.a" "-DWMF_MFCORE_LIBRARY=$mingw_lib/libmfcore.a" \
  "-DWMF_PROPSYS_LIBRARY=$mingw_lib/libpropsys.a"

touch "$prefix/.complete"
rm -rf "$cache" "$work"
mv "$prefix" "$cache"
echo "$cache"
