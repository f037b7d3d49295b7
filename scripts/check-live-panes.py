#!/usr/bin/env python3
"""Checks a screenshot of the viewer's main window for live pictures in its
sixteen panes: each 200 x 150 pane of the 800 x 600 video window (at 10, 31
in the 1024 x 768 window) must show a picture, not an empty or black pane.

Usage: check-live-panes.py SCREENSHOT.png [EXPECTED_LIVE_PANES]   (default 16)
The PNG is read through ffmpeg, so no image library is needed.
"""
import subprocess
import sys

WINDOW = (1024, 768)
VIDEO_ORIGIN = (10, 31)
PANE = (200, 150)
GRID = 4
# A pane is inspected inside this margin, away from its border and title.
MARGIN = 12
# A live camera picture has light, varied content; an empty pane is flat and
# dark (or carries only a line of text), and a pane that lost its signal shows
# its last picture dimmed.
MIN_MEAN_LUMA = 64.0
MIN_LUMA_SPREAD = 20.0
MIN_LIT_SHARE = 0.25
LIT_LUMA = 48


def read_rgb(path):
    probe = subprocess.run(
        ["ffprobe", "-v", "error", "-select_streams", "v:0", "-show_entries", "stream=width,height",
         "-of", "csv=p=0", path], capture_output=True, text=True, check=True)
    width, height = (int(v) for v in probe.stdout.strip().split(","))
    raw = subprocess.run(
        ["ffmpeg", "-v", "error", "-i", path, "-f", "rawvideo", "-pix_fmt", "rgb24", "-"],
        capture_output=True, check=True).stdout
    if len(raw) != width * height * 3:
        raise ValueError(f"{path}: ffmpeg gave {len(raw)} bytes for {width} x {height}")
    return width, height, raw


def pane_figures(width, raw, left, top):
    lumas = []
    for y in range(top + MARGIN, top + PANE[1] - MARGIN):
        row = raw[(y * width + left + MARGIN) * 3:(y * width + left + PANE[0] - MARGIN) * 3]
        lumas.extend((r * 299 + g * 587 + b * 114) // 1000 for r, g, b in zip(row[0::3], row[1::3], row[2::3]))
    mean = sum(lumas) / len(lumas)
    spread = (sum((v - mean) ** 2 for v in lumas) / len(lumas)) ** 0.5
    lit = sum(1 for v in lumas if v >= LIT_LUMA) / len(lumas)
    return mean, spread, lit


def main():
    if len(sys.argv) not in (2, 3):
        print(__doc__, file=sys.stderr)
        return 2
    path = sys.argv[1]
    expected = int(sys.argv[2]) if len(sys.argv) == 3 else GRID * GRID
    width, height, raw = read_rgb(path)
    if (width, height) != WINDOW:
        print(f"{path}: {width} x {height}, not the {WINDOW[0]} x {WINDOW[1]} main window", file=sys.stderr)
        return 1
    live = 0
    for pane in range(GRID * GRID):
        left = VIDEO_ORIGIN[0] + (pane % GRID) * PANE[0]
        top = VIDEO_ORIGIN[1] + (pane // GRID) * PANE[1]
        mean, spread, lit = pane_figures(width, raw, left, top)
        is_live = mean >= MIN_MEAN_LUMA and spread >= MIN_LUMA_SPREAD and lit >= MIN_LIT_SHARE
        live += is_live
        print(f"pane {pane + 1:2}: mean {mean:5.1f} spread {spread:5.1f} lit {lit:4.2f} "
              f"{'live' if is_live else 'EMPTY'}")
    print(f"{live} of {GRID * GRID} panes live")
    return 0 if live >= expected else 1


if __name__ == "__main__":
    sys.exit(main())
