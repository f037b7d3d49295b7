#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
# Usage: scripts/test.sh [--sanitize]   (address + undefined-behaviour build,
# with clang, which also builds the fuzz targets)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"

if [ "${1:-}" = "--sanitize" ]; then
  build="$root/build-asan"
  CC=clang CXX=clang++ bash "$root/scripts/build.sh" "$build" \
    -DOMBREL_SANITIZE=ON -DOMBREL_FUZZ=ON -DOMBREL_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  export LSAN_OPTIONS=suppressions="$root/tests/support/lsan.supp"
else
  build="$root/build"
  bash "$root/scripts/build.sh" "$build"
fi

export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" -j2 --output-on-failure --timeout 300
