#!/usr/bin/env bash
# Soak of the live view (a bench tool, run by hand, not by CI): builds the
# programs, then runs scripts/soak.py: four dvr-emulator recorders on loopback
# with injected faults (dropped, reordered and corrupted fragments, periodic
# disconnects, a recorder that goes silent), two in TCP and two in UDP media
# mode, and the real viewer watching all four for 10 minutes; its memory is
# sampled every 10 s, the recorders are restarted without faults at the end,
# and a screenshot must show all sixteen panes live again.
#
# Usage: scripts/soak.sh [BUILD_DIR] [soak.py options: --duration S --settle S
#                         --sample S --out DIR]      (BUILD_DIR default: build)
# The viewer runs under Xvfb when xvfb-run is there (message boxes then open as
# a user sees them), else offscreen (they go to its log). Figures:
# BUILD_DIR/soak/summary.txt; see bench/NOTES.md for what was measured.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
if [ $# -gt 0 ] && [ "${1#--}" = "$1" ]; then
  build=$(realpath -m "$1")
  shift
fi
bash "$root/scripts/build.sh" "$build" --target ombrel_demo
driver=(python3 "$root/scripts/soak.py" --bin "$build/bin" --out "$build/soak" "$@")
if command -v xvfb-run >/dev/null 2>&1; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "${driver[@]}"
fi
exec "${driver[@]}"
