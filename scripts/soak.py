#!/usr/bin/env python3
"""Soak of the live view: four recorders with injected faults, the real viewer
watching all sixteen of their cameras for a long while (scripts/soak.sh runs it,
under Xvfb when there is one).

Four MODEL_F recorders of one dvr-emulator on loopback, each with its own fault
mix, two reached in TCP and two in UDP media mode:

  1 TCP  drops and reorders live fragments
  2 UDP  corrupts and reorders live fragments
  3 TCP  closes every session 45 s after it connected, drops a few fragments
  4 UDP  stops answering polls 40 s after each log-in (the viewer gives the
         silent recorder up and reconnects), corrupts a few fragments

The viewer (OMBREL_CONNECT with the four) runs for --duration seconds while its
resident memory (VmRSS) is read every --sample seconds. Then the recorders are
restarted on the same ports without faults, and after --settle seconds the
viewer saves a screenshot, which scripts/check-live-panes.py must find with 16
live panes, and exits by itself.

Passes when: the viewer never died and exited cleanly; its memory was flat
(the least-squares slope after the first minute, carried over the rest of the
run, grows it by less than --flat-share of the first minute's mean); and every
session was live again at the end. Figures go to OUT/summary.txt, samples to
OUT/rss.csv, the screenshot to OUT/end.png. Loopback only; every wait is
bounded.
"""
import argparse
import os
import re
import signal
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
CAMERAS_PER_RECORDER = 4
FAULTS = [
    ("TCP", ["--drop-fragments", "3", "--reorder-fragments", "3"]),
    ("UDP", ["--corrupt-fragments", "2", "--reorder-fragments", "5"]),
    ("TCP", ["--disconnect-after", "45", "--drop-fragments", "1"]),
    ("UDP", ["--stop-polls-after", "40", "--corrupt-fragments", "1"]),
]
LISTENING = re.compile(r"^listening 127\.0\.0\.1:(\d+)$", re.M)
EMULATOR_START_S = 600  # a cold cache encodes the camera loops first
EXIT_WAIT_S = 60


def options():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--bin", default=str(ROOT / "build" / "bin"), help="folder of Ombrel and dvr-emulator")
    parser.add_argument("--out", default=str(ROOT / "build" / "soak"), help="folder for logs, samples, screenshot")
    parser.add_argument("--duration", type=int, default=600, help="seconds with faults (default 600)")
    parser.add_argument("--settle", type=int, default=75,
                        help="seconds after the clean restart before the screenshot (default 75: the longest "
                             "reconnect pause is 30 s)")
    parser.add_argument("--sample", type=int, default=10, help="seconds between memory samples (default 10)")
    parser.add_argument("--flat-share", type=float, default=0.05,
                        help="growth over the run, as a share of the first minute, still called flat (default 0.05)")
    args = parser.parse_args()
    if args.duration < 120 or args.settle < 10 or args.sample < 1:
        parser.error("--duration needs at least 120 s (a first and a last minute), --settle 10 s, --sample 1 s")
    return args


def start_emulator(binary, out, ports, faults, log_name):
    command = [str(binary / "dvr-emulator"), "--discovery-port", "0", "--loop-seconds", "2"]
    for number, (port, (_, extra)) in enumerate(zip(ports, FAULTS), start=1):
        command += ["--listen", f"127.0.0.1:{port}", "--model", "MODEL_F", "--data", str(out / f"recorder{number}")]
        if faults:
            command += extra + ["--fault-seed", str(number)]
    log = open(out / log_name, "w")
    process = subprocess.Popen(command, stdout=log, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
    deadline = time.monotonic() + EMULATOR_START_S
    while time.monotonic() < deadline:
        found = [int(p) for p in LISTENING.findall((out / log_name).read_text())]
        if len(found) == len(FAULTS):
            return process, found
        if process.poll() is not None:
            break
        time.sleep(0.2)
    stop(process)
    sys.exit(f"the recorder emulator did not start: see {out / log_name}")


def stop(process, wait=10):
    if process.poll() is None:
        process.send_signal(signal.SIGTERM)
        try:
            process.wait(wait)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
    return process.returncode


def resident_mib(pid):
    try:
        for line in Path(f"/proc/{pid}/status").read_text().splitlines():
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024.0
    except OSError:
        pass
    return None


def slope_per_minute(samples):
    """Least-squares slope of (seconds, MiB) samples, in MiB a minute."""
    n = len(samples)
    if n < 2:
        return 0.0
    mean_t = sum(t for t, _ in samples) / n
    mean_m = sum(m for _, m in samples) / n
    spread = sum((t - mean_t) ** 2 for t, _ in samples)
    return 60.0 * sum((t - mean_t) * (m - mean_m) for t, m in samples) / spread if spread else 0.0


def mean(values):
    return sum(values) / len(values) if values else float("nan")


def main():
    args = options()
    binary, out = Path(args.bin).resolve(), Path(args.out).resolve()
    out.mkdir(parents=True, exist_ok=True)
    home = out / "home"
    home.mkdir(exist_ok=True)
    for stale in ("end.png", "rss.csv", "summary.txt"):
        (out / stale).unlink(missing_ok=True)

    running = []  # whatever is left of them is stopped however the run ends
    try:
        return soak(args, binary, out, home, running)
    finally:
        for process in reversed(running):
            stop(process)


def soak(args, binary, out, home, running):
    emulator, ports = start_emulator(binary, out, [0] * len(FAULTS), True, "emulator.log")
    running.append(emulator)
    connect = " ".join(f"127.0.0.1:{port}:{protocol}:ADMIN:5829" for port, (protocol, _) in zip(ports, FAULTS))
    shot = out / "end.png"
    shot_ms = (args.duration + args.settle) * 1000
    env = dict(os.environ, HOME=str(home), XDG_CONFIG_HOME=str(home / ".config"),
               XDG_DATA_HOME=str(home / ".local/share"), SDL_AUDIODRIVER="dummy",
               OMBREL_CONNECT=connect, OMBREL_SCREENSHOT=str(shot), OMBREL_SCREENSHOT_AFTER_MS=str(shot_ms),
               OMBREL_EXIT_AFTER_MS=str(shot_ms + 3000))
    for inherited in ("DVR_REGISTRY", "DVR_DRIVE_C", "DVR_PTZ_DIR"):
        env.pop(inherited, None)
    if not env.get("DISPLAY") and not env.get("WAYLAND_DISPLAY"):
        env["QT_QPA_PLATFORM"] = "offscreen"
    platform = env.get("QT_QPA_PLATFORM") or "xcb on " + env.get("DISPLAY", "?")
    print(f"soak: recorders on ports {ports}, viewer on {platform}, {args.duration} s with faults", flush=True)

    viewer_log = open(out / "viewer.log", "w")
    viewer = subprocess.Popen([str(binary / "Ombrel")], env=env, cwd=str(home), stdout=viewer_log,
                              stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
    running.append(viewer)
    started = time.monotonic()
    samples = []
    died_at = None
    restarted = False
    next_sample = float(args.sample)
    end = args.duration + args.settle + 3 + EXIT_WAIT_S
    with open(out / "rss.csv", "w") as csv:
        csv.write("seconds,vmrss_mib\n")
        while time.monotonic() - started < end:
            elapsed = time.monotonic() - started
            if viewer.poll() is not None:
                if elapsed < args.duration + args.settle:
                    died_at = elapsed
                break
            if emulator.poll() is not None and not restarted:
                sys.exit(f"the recorder emulator ended at {elapsed:.0f} s: see {out / 'emulator.log'}")
            if elapsed >= next_sample and elapsed < args.duration:
                rss = resident_mib(viewer.pid)
                if rss is not None:
                    samples.append((elapsed, rss))
                    csv.write(f"{elapsed:.1f},{rss:.1f}\n")
                    csv.flush()
                next_sample += args.sample
            if elapsed >= args.duration and not restarted:
                stop(emulator)
                # The same ports, no faults: every session must find its way back.
                emulator, _ = start_emulator(binary, out, ports, False, "emulator-clean.log")
                running.append(emulator)
                restarted = True
                print(f"soak: recorders restarted without faults at {elapsed:.0f} s", flush=True)
            time.sleep(0.25)
    exit_code = viewer.poll()
    if exit_code is None:
        exit_code = stop(viewer)
        exit_note = f"did not exit by itself (stopped, {exit_code})"
    else:
        exit_note = "exited cleanly" if exit_code == 0 else f"exit status {exit_code}"
    stop(emulator)

    first = [m for t, m in samples if t < 60]
    last = [m for t, m in samples if t >= args.duration - 60]
    settled = [(t, m) for t, m in samples if t >= 60]
    slope = slope_per_minute(settled)
    late_slope = slope_per_minute([(t, m) for t, m in samples if t >= args.duration / 2])
    growth = slope * (args.duration - 60) / 60.0
    flat = bool(first) and growth < args.flat_share * mean(first)
    live_panes = "no screenshot"
    all_live = False
    if shot.exists():
        check = subprocess.run([sys.executable, str(ROOT / "scripts" / "check-live-panes.py"), str(shot),
                                str(CAMERAS_PER_RECORDER * len(FAULTS))], capture_output=True, text=True)
        (out / "live-panes.txt").write_text(check.stdout + check.stderr)
        all_live = check.returncode == 0
        live_panes = (check.stdout.strip().splitlines() or ["?"])[-1]
    messages = sum(1 for line in (out / "viewer.log").read_text(errors="replace").splitlines()
                   if line.startswith("DVR: "))
    lines = [
        f"duration with faults: {args.duration} s, settle after clean restart: {args.settle} s",
        f"viewer: {'died at %.0f s' % died_at if died_at is not None else 'alive throughout'}, {exit_note}",
        f"VmRSS first minute: mean {mean(first):.1f} MiB (min {min(first, default=0):.1f}, "
        f"max {max(first, default=0):.1f}) over {len(first)} samples",
        f"VmRSS last minute: mean {mean(last):.1f} MiB (min {min(last, default=0):.1f}, "
        f"max {max(last, default=0):.1f}) over {len(last)} samples",
        f"VmRSS slope after the first minute: {slope:+.3f} MiB/min ({growth:+.1f} MiB over the run): "
        f"{'flat' if flat else 'GROWING'}",
        f"VmRSS slope over the second half: {late_slope:+.3f} MiB/min",
        f"message boxes logged (offscreen only): {messages}",
        f"end: {live_panes}",
    ]
    ok = died_at is None and exit_code == 0 and flat and all_live
    lines.append("soak passed" if ok else "soak FAILED")
    (out / "summary.txt").write_text("\n".join(lines) + "\n")
    print("\n".join(lines))
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
