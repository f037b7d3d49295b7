#!/usr/bin/env bash
# Remakes docs/screenshot.png, the README's picture of the main window: the
# demo's offscreen screenshot of 16 live panes from dvr-emulator, checked and
# stored with a 256-colour palette to keep the repository small.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
env -u DISPLAY -u WAYLAND_DISPLAY bash "$root/scripts/run-demo.sh"
shot="$root/build/ombrel-screenshot.png"
python3 "$root/scripts/check-live-panes.py" "$shot" 16 >/dev/null
ffmpeg -v error -y -i "$shot" \
  -vf "split[a][b];[a]palettegen=max_colors=256:stats_mode=full[p];[b][p]paletteuse=dither=none" \
  -pix_fmt pal8 "$root/docs/screenshot.png"
echo "docs/screenshot.png: $(du -k "$root/docs/screenshot.png" | cut -f1) KiB"
