#!/usr/bin/env bash
# Configures and builds one build folder.
# Usage: scripts/build.sh BUILD_DIR [cmake options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:?build folder}
shift
launcher=()
if command -v ccache >/dev/null 2>&1; then
  # Several build folders of one tree share compiled objects.
  export CCACHE_NOHASHDIR=1 CCACHE_BASEDIR="$root"
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$root" -B "$build" -G Ninja "${launcher[@]}" "$@" >/dev/null
cmake --build "$build" -j2
