#!/usr/bin/env bash
# Configures and builds one build folder.
# Usage: scripts/build.sh BUILD_DIR [--target NAME]... [cmake options...]
# With --target only those targets are built (e.g. ombrel_demo: the programs,
# packs, skins and drivers, without tests and benchmarks); without, everything.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:?build folder}
shift
targets=()
options=()
while [ $# -gt 0 ]; do
  if [ "$1" = "--target" ]; then
    targets+=(--target "${2:?--target needs a name}")
    shift 2
  else
    options+=("$1")
    shift
  fi
done
launcher=()
if command -v ccache >/dev/null 2>&1; then
  # Several build folders of one tree share compiled objects.
  export CCACHE_NOHASHDIR=1 CCACHE_BASEDIR="$root"
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$root" -B "$build" -G Ninja "${launcher[@]}" "${options[@]}" >/dev/null
cmake --build "$build" -j2 "${targets[@]}"
