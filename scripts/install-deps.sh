#!/usr/bin/env bash
# Installs from Debian's packages whatever the build, the tests or the demo
# need and the machine lacks. Runs apt-get update at most once.
set -euo pipefail

packages=(
  g++ make cmake pkg-config libgtest-dev libgmock-dev
  clang libclang-rt-14-dev clang-format
  qt6-base-dev libgl-dev
  mame
  xvfb xauth fonts-liberation2
  libxcb1-dev libxcb-damage0-dev libxcb-xtest0-dev
  g++-mingw-w64-x86-64-posix wine wine64 fonts-wine
  zip
  debhelper lintian desktop-file-utils appstream librsvg2-bin strace x11-utils xdotool
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
