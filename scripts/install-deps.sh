#!/usr/bin/env bash
# Installs every Debian package Ombrel needs to build, run and test.
# Safe to run again: it only installs what is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  clang libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libsqlite3-dev libssl-dev
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
  libavcodec-dev libavformat-dev libavutil-dev libswscale-dev libavfilter-dev ffmpeg
  libsdl2-dev
  xvfb xauth fonts-dejavu-core fonts-wqy-microhei qt6-translations-l10n
  poppler-utils fonts-liberation
  ccache
  desktop-file-utils file python3  # the package and its check (scripts/package-check.sh)
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo_cmd apt-get update -q
  $sudo_cmd apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
