#!/bin/sh
# Installs the Debian packages listed in the files given as arguments that are
# not installed yet: as root with apt-get, otherwise through sudo; when
# neither is possible, prints the exact command to run and fails.
set -eu

missing=""
for list in "$@"; do
  for package in $(grep -v '^[[:space:]]*#' "$list"); do
    if ! dpkg-query -W -f='${Status}\n' "$package" 2>/dev/null | grep -q '^install ok installed$'; then
      missing="$missing $package"
    fi
  done
done
[ -z "$missing" ] && exit 0

# Another install running at the same time holds dpkg's lock: wait for it.
lock_wait="-o DPkg::Lock::Timeout=600"
command="apt-get $lock_wait install -y --no-install-recommends$missing"
if [ "$(id -u)" -eq 0 ]; then
  as_root=""
elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
  as_root="sudo"
else
  echo "Missing Debian packages:$missing" >&2
  echo "Install them with:  sudo apt-get update && sudo $command" >&2
  exit 1
fi

echo "Installing missing Debian packages:$missing"
export DEBIAN_FRONTEND=noninteractive
$as_root apt-get $lock_wait update -q
$as_root $command
