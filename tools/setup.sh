#!/usr/bin/env bash
# Installs what building and testing Tovan needs on Debian 12, as root.
# Idempotent and quick when everything is already there.
set -euo pipefail

packages=(
  cmake ninja-build g++ python3 ccache
  libgtest-dev googletest libbenchmark-dev zlib1g-dev
  g++-mingw-w64-x86-64-posix mingw-w64-tools libz-mingw-w64-dev
  wine wine64 xvfb xdotool x11-utils imagemagick fonts-wqy-microhei libx11-dev locales
  clang libclang-rt-14-dev
  pandoc zip unzip
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
