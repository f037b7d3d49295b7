#!/usr/bin/env bash
# Installs what is missing, builds, starts a recorder emulator on loopback and
# the viewer connected to it, so the first thing shown is live video.
# With no display it runs offscreen, saves a screenshot and exits by itself.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
# Only what the demo runs: the programs, packs, skins and drivers.
bash "$root/scripts/build.sh" "$root/build" --target ombrel_demo
bin="$root/build/bin"
port=7050
data="$root/build/demo-recorder"
mkdir -p "$data"

log=$(mktemp)
"$bin/dvr-emulator" --listen "127.0.0.1:$port" --model MODEL_C --data "$data" >"$log" 2>&1 &
emulator=$!
stop_emulator() {
  kill "$emulator" 2>/dev/null || true
  wait "$emulator" 2>/dev/null || true
  rm -f "$log"
}
trap stop_emulator EXIT

# The first start encodes the camera loops, which takes a while.
for _ in $(seq 1 600); do
  grep -q "listening" "$log" && break
  kill -0 "$emulator" 2>/dev/null || { cat "$log" >&2; echo "the recorder emulator did not start" >&2; exit 1; }
  sleep 0.1
done
grep -q "listening" "$log" || { echo "the recorder emulator is not listening" >&2; exit 1; }

# The emulator is registered once (only while no server is), so it stays in
# "Registered Server List" for later runs; this run connects to it directly.
export OMBREL_SEED_SERVER=1
export OMBREL_CONNECT="127.0.0.1:$port:TCP:ADMIN:5829"
# With no display, or when asked for a screenshot (OMBREL_DEMO_SHOT=1, e.g.
# under xvfb-run), the viewer takes one and exits by itself.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] || [ "${OMBREL_DEMO_SHOT:-}" = 1 ]; then
  shot="$root/build/ombrel-screenshot.png"
  rm -f "$shot"
  [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] || export QT_QPA_PLATFORM=offscreen
  OMBREL_SCREENSHOT="$shot" OMBREL_SCREENSHOT_AFTER_MS=6000 OMBREL_EXIT_AFTER_MS=7000 "$bin/Ombrel"
  [ -f "$shot" ] || { echo "no screenshot was written" >&2; exit 1; }
else
  "$bin/Ombrel"
fi
