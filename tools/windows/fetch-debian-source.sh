#!/bin/sh
# Fetches and unpacks Debian source packages into a folder, from the archive
# and suite this machine installs its packages from, or from another suite of
# that archive, without touching the machine's own apt lists: a private list
# with the matching deb-src line.
#   fetch-debian-source.sh [--suite SUITE] DEST PACKAGE...
set -eu
chosen_suite=""
if [ "$1" = --suite ]; then
  chosen_suite=$2
  shift 2
fi
dest=$1; shift
mkdir -p "$dest/apt/lists/partial"
list=$dest/apt/sources.list

# The first archive and suite the machine names, in either format.
uri="" suite=""
if [ -f /etc/apt/sources.list.d/debian.sources ]; then
  uri=$(awk '/^URIs:/ {print $2; exit}' /etc/apt/sources.list.d/debian.sources)
  suite=$(awk '/^Suites:/ {print $2; exit}' /etc/apt/sources.list.d/debian.sources)
elif [ -f /etc/apt/sources.list ]; then
  uri=$(awk '$1 == "deb" && $2 !~ /^\[/ {print $2; exit}' /etc/apt/sources.list)
  suite=$(awk '$1 == "deb" && $2 !~ /^\[/ {print $3; exit}' /etc/apt/sources.list)
fi
suite=${chosen_suite:-$suite}
if [ -z "$uri" ] || [ -z "$suite" ]; then
  echo "fetch-debian-source: no Debian archive found in /etc/apt" >&2
  exit 1
fi
echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $uri $suite main" > "$list"

apt_private="-o APT::Sandbox::User=root -o Dir::Etc::sourcelist=$list -o Dir::Etc::sourceparts=/dev/null -o Dir::State::Lists=$dest/apt/lists"
# shellcheck disable=SC2086
apt-get $apt_private update -q >/dev/null
cd "$dest"
for package in "$@"; do
  # shellcheck disable=SC2086
  apt-get $apt_private source --download-only -q "$package" >/dev/null
done
for dsc in *.dsc; do
  dpkg-source --no-check -x "$dsc" >/dev/null
done
