#!/usr/bin/env bash
# Installs what the builds and tests need, from Debian's packages, and nothing
# when it is all there already (no apt call then). Run as root on Debian 12.
#
# It survives a package index that fails to download (a mirror in mid-sync):
# apt keeps the lists that did load. When the newest amd64 libraries (from the
# security suite, say) then have no i386 twin of the same version, the set is
# resolved from the base release with apt's target release; the machine's apt
# sources are never edited. Where a package truly cannot be installed, one line
# names it and the reason, and the exit code is 1.
set -euo pipefail

packages=(
  cmake make g++ python3 unicode-data
  googletest libgtest-dev libbenchmark-dev
  clang libclang-rt-14-dev
  g++-mingw-w64-i686 binutils-mingw-w64-i686 g++-mingw-w64-x86-64
  wine wine32:i386 wine64
  xvfb xdotool x11-utils imagemagick
  nsis zip unzip
)

is_installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

missing=()
for package in "${packages[@]}"; do
  is_installed "$package" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
log=$(mktemp)
trap 'rm -f "$log"' EXIT

first_error() { grep -m1 -E '^(E|Err):' "$log" | cut -c1-200; }

if ! apt-get update -q >"$log" 2>&1; then
  echo "setup: a package index failed to download; going on with those that loaded ($(first_error))"
fi

apt_install() { apt-get install -y -q --no-install-recommends "$@" >"$log" 2>&1; }

if apt_install "${missing[@]}"; then exit 0; fi

base_release=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
if [ -n "$base_release" ]; then
  echo "setup: the newest versions do not install together; resolving from the base release ($base_release)"
  if apt_install -t "$base_release" "${missing[@]}"; then exit 0; fi
fi

# Name the packages that cannot be had, each with apt's own reason.
reported=0
for package in "${missing[@]}"; do
  is_installed "$package" && continue
  if ! apt-get install -s -q --no-install-recommends ${base_release:+-t "$base_release"} "$package" >"$log" 2>&1; then
    reason=$(grep -m1 -F " ${package} :" "$log" | sed 's/^ *//' || true)
    [ -n "$reason" ] || reason=$(first_error)
    echo "setup: cannot install $package: ${reason:-apt gave no reason}" >&2
    reported=1
  fi
done
[ $reported -eq 1 ] || echo "setup: installation failed: $(first_error)" >&2
exit 1
