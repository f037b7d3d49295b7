#!/usr/bin/env bash
# Installs what is missing, builds, and starts the viewer.
# With no display it runs offscreen, saves a screenshot and exits by itself.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh" "$root/build"
bin="$root/build/bin"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  shot="$root/build/ombrel-screenshot.png"
  rm -f "$shot"
  QT_QPA_PLATFORM=offscreen OMBREL_SCREENSHOT="$shot" OMBREL_EXIT_AFTER_MS=4000 "$bin/Ombrel"
  [ -f "$shot" ] || { echo "no screenshot was written" >&2; exit 1; }
else
  exec "$bin/Ombrel"
fi
