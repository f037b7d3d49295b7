#!/usr/bin/env bash
# The figures of bench/NOTES.md on camera content, in one run: the live path
# on plain and hard content at 1.5 and 4 Mb/s, then the main window with
# sixteen hard cameras at both rates, each with the load average beside it.
# Usage: bench/content_figures.sh BUILD_DIR [ROUNDS [SECONDS]]
# (defaults 2 rounds of 8 s of live stream; the main window measures 10 s).
set -euo pipefail
bin=${1:?build folder}/bin
rounds=${2:-2}
seconds=${3:-8}
load() { echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"; }
echo "== $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores"
for rate in 1.5M 4M; do
  for content in plain hard; do
    echo "== bench_live_path --content $content --bitrate $rate"; load
    "$bin/bench_live_path" --content "$content" --bitrate "$rate" --rounds "$rounds" --seconds "$seconds"
  done
done
for rate in 1.5M 4M; do
  echo "== bench_main_window --content hard --bitrate $rate"; load
  "$bin/bench_main_window" --content hard --bitrate "$rate" --rounds "$rounds"
done
load
