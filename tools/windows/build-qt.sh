#!/bin/sh
# Builds Qt for 64-bit Windows (mingw-w64) from Debian's own source package
# of the host's Qt version: qtbase (Core, Gui, Widgets, Test, the Windows
# platform and style plugins), all the game needs. Only the installed Qt is
# kept, in
#   ${XDG_CACHE_HOME:-~/.cache}/quorveno/qt-<host Qt's Debian version>-mingw64
# so that an upgrade of the host's Qt builds it again. A build that was
# interrupted starts anew.
#   build-qt.sh          prints the folder of the installed Qt, building it first
set -eu
here=$(cd "$(dirname "$0")" && pwd)
jobs=${JOBS:-$(nproc)}

version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/quorveno/qt-$version-mingw64
if [ -f "$cache/.complete" ]; then
  echo "$cache"
  exit 0
fi
# Built in place (Qt keeps the paths it was configured with); the stamp
# .complete tells a finished build from an interrupted one.
prefix=$cache
work=$cache.work
rm -rf "$work"
mkdir -p "$prefix" "$work"
# Qt keeps the path of the toolchain file it was built with: a copy of its
# own, so that the cache outlives the checkout that built it.
toolchain=$prefix/mingw-w64-x86_64.cmake
cp "$here/../../cmake/mingw-w64-x86_64.cmake" "$toolchain"
log=$work/build.log
echo "Building Qt $version for Windows into $cache (the first time only; log: $log)" >&2
failed() {
  echo "Building Qt for Windows failed; the last lines of $log:" >&2
  tail -n 30 "$log" >&2
  exit 1
}
sh "$here/fetch-debian-source.sh" "$work/src" qt6-base >>"$log" 2>&1 || failed

# No SQL, printing, D-Bus, ICU, OpenSSL or Vulkan: the game uses none. The
# +dfsg source lacks the Wintab headers, hence no tablet events. Direct2D
# stays: without it qwindows.dll does not link in 6.4 (its DirectWrite font
# database is built only with it).
mkdir "$work/build"
cd "$work/build"
{
  "$work"/src/qt6-base-*/configure -prefix "$prefix" -qt-host-path /usr \
    -xplatform win32-g++ -release -opensource -confirm-license -nomake examples -nomake tests \
    -no-dbus -no-icu -no-openssl -no-pkg-config -no-feature-sql -no-feature-printsupport \
    -no-feature-tabletevent -no-feature-vulkan -no-feature-androiddeployqt -opengl desktop \
    -qt-zlib -qt-pcre -qt-libpng -qt-libjpeg -qt-harfbuzz -qt-freetype \
    -- -G Ninja "-DCMAKE_TOOLCHAIN_FILE=$toolchain" -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake &&
    cmake --build . --parallel "$jobs" && cmake --install .
} >>"$log" 2>&1 || failed

cd /
rm -rf "$work"
touch "$cache/.complete"
echo "$cache"
