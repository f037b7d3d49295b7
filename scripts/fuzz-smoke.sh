#!/usr/bin/env bash
# Runs every fuzz target of the sanitizer build briefly over its seed corpus.
# Usage: scripts/fuzz-smoke.sh [SECONDS_EACH]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-20}
bin="$root/build-asan/bin"
status=0
for target in "$bin"/fuzz_*; do
  [ -x "$target" ] || continue
  name=${target##*/fuzz_}
  corpus=$(mktemp -d)
  [ -d "$root/fuzz/corpus/$name" ] && cp -r "$root/fuzz/corpus/$name/." "$corpus/"
  echo "fuzz $name (${seconds}s)"
  if ! "$target" -max_total_time="$seconds" -rss_limit_mb=2048 "$corpus" >"$corpus.log" 2>&1; then
    tail -n 40 "$corpus.log"
    status=1
  fi
  rm -rf "$corpus" "$corpus.log"
done
exit $status
