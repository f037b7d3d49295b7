#!/usr/bin/env bash
# CPU per shown picture of the encrypted link against a build without it, in
# one run: bench_main_window of the two builds in turn (A B B A, so a drift in
# the machine's load weighs on both), sixteen cameras at 1.5 and 4 Mb/s.
# Usage: bench/tls_cost.sh BASE_BUILD NEW_BUILD [CONTENT [ROUNDS]]
# BASE_BUILD is a build folder of a commit before the encrypted link
# (e.g. a `git worktree` of it built with scripts/build.sh --target
# bench_main_window --target dvr-emulator).
set -euo pipefail
base=${1:?base build folder}/bin
new=${2:?new build folder}/bin
content=${3:-plain}
rounds=${4:-2}
load() { cut -d' ' -f1-3 /proc/loadavg; }
run() {
  echo "== $1 $2, load $(load)"
  "$3/bench_main_window" --content "$content" --bitrate "$2" --rounds "$rounds"
}
for rate in 1.5M 4M; do
  run base "$rate" "$base"
  run new "$rate" "$new"
  run new "$rate" "$new"
  run base "$rate" "$base"
done
