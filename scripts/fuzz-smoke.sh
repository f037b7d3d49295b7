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
  limit=2048
  options=${ASAN_OPTIONS:-}
  if [ "$name" = demux ]; then
    # Its one decoder lives through every input, as a viewer's lives through
    # days of recorders: what it holds must stay bounded. Freed memory is given
    # back at once, so the limit sees only what is held.
    limit=300
    options="${options:+$options:}quarantine_size_mb=0"
  fi
  echo "fuzz $name (${seconds}s)"
  if ! ASAN_OPTIONS="$options" "$target" -max_total_time="$seconds" -rss_limit_mb="$limit" "$corpus" >"$corpus.log" 2>&1; then
    tail -n 40 "$corpus.log"
    status=1
  fi
  rm -rf "$corpus" "$corpus.log"
done
exit $status
