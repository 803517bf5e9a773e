#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and `make run` need.
# Idempotent and quick when everything is already there.
set -euo pipefail
PKGS=(
  mingw-w64 wine wine64 xvfb xdotool imagemagick libx11-dev
  cmake make g++ libgtest-dev googletest libbenchmark-dev
  libosmesa6-dev libglu1-mesa-dev libstb-dev libsoil-dev
  sox zip pulseaudio pulseaudio-utils ffmpeg
  clang libclang-rt-14-dev
)
missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
