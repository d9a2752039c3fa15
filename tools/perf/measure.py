#!/usr/bin/env python3
"""Measures what the game costs to run in its real SDL window under a virtual
X server, against the floor program (the game's own display and pacing showing
one page), at 640x480 (unscaled) and 1920x1080 (scaled 2x), and prints one
table: CPU shares (process CPU time over wall time) of the menu at rest (in a
window, on the full screen, minimized, covered by another window), of play at TURBO, the frame-period
spread in play, and the start-up times to the first presented page. Play at
TURBO is measured twice, plainly and while recording a replay (--record), so
that the recording's cost per frame and its size per minute come from the
same run (--recording: these two alone).

The game runs with its sound on: by default SDL's disk audio driver takes the
mixed samples at the device's pace and writes them to /dev/null, so that the
figures are the same on machines with and without a sound card (--sound
device uses the machine's own device, --sound off none).

Usage: tools/perf/measure.py [--build build] [--play-seconds 60] [--quick]
       [--sound disk|device|off] [--idle-only | --recording]
Needs Xvfb, and openbox with xdotool for the minimized and covered window
(ImageMagick's display covers it); displays :11 and :12 by default
(--displays). Run from anywhere.
"""
import argparse
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
TICKS = os.sysconf("SC_CLK_TCK")
# Set by --sound: how the game's sound reaches a device.
SOUND_ENV = {}


def cpu_seconds(pid):
    """User plus system CPU time of a process, from /proc."""
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS


def start_x(display, size):
    socket = f"/tmp/.X11-unix/X{display}"
    server = subprocess.Popen(["Xvfb", f":{display}", "-screen", "0", f"{size}x24", "-nolisten", "tcp"],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    for _ in range(100):
        if os.path.exists(socket):
            time.sleep(0.2)
            return server
        time.sleep(0.05)
    server.kill()
    sys.exit(f"Xvfb :{display} did not start (is the display number taken?)")


def game_folder(full_screen=False):
    """A folder with the game's files, so that a best score written by the
    pilot's game never touches the source tree; its set-up file opens the
    game in a window or on the full screen."""
    folder = tempfile.mkdtemp(prefix="halvane-measure-")
    shutil.copytree(os.path.join(ROOT, "Data"), os.path.join(folder, "Data"))
    os.symlink(os.path.join(ROOT, "Graphics"), os.path.join(folder, "Graphics"))
    os.symlink(os.path.join(ROOT, "Sound"), os.path.join(folder, "Sound"))
    with open(os.path.join(folder, "Data", "setup.dat"), "w") as f:
        f.write("1,0,32\n" if full_screen else "0,0,32\n")
    return folder


def start_window_manager(display):
    """openbox on the display, so that a window can be minimized; None when
    openbox or xdotool is missing."""
    if shutil.which("openbox") is None or shutil.which("xdotool") is None:
        return None
    manager = subprocess.Popen(["openbox"], env=dict(os.environ, DISPLAY=f":{display}"),
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(1.0)
    return manager


def cover_game(display):
    """Covers the whole screen with another window (ImageMagick's backdrop);
    the window, or None when it cannot."""
    if shutil.which("display") is None:
        return None
    cover = subprocess.Popen(["display", "-backdrop", "-background", "gray20", "-size", "8x8", "xc:gray"],
                             env=dict(os.environ, DISPLAY=f":{display}"),
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(1.0)
    return cover


def minimize_game(display):
    """Minimizes the game's window as a player would; False when it fails."""
    env = dict(os.environ, DISPLAY=f":{display}")
    found = subprocess.run(["xdotool", "search", "--name", "^Halvane$"], env=env,
                           capture_output=True, text=True)
    windows = found.stdout.split()
    if not windows:
        return False
    return subprocess.run(["xdotool", "windowminimize", "--sync", windows[0]], env=env,
                          timeout=10).returncode == 0


class Run:
    """One program in the window, its frame log in a file of its own."""

    def __init__(self, args, display, cwd, pilot=None):
        self.log = tempfile.NamedTemporaryFile(prefix="halvane-frames-", delete=False).name
        env = dict(os.environ, DISPLAY=f":{display}", HALVANE_FRAME_TIMES=self.log)
        env.pop("HALVANE_PILOT", None)
        env.update(SOUND_ENV)
        if pilot:
            env["HALVANE_PILOT"] = pilot
        self.started = time.monotonic()
        self.process = subprocess.Popen(args, cwd=cwd, env=env, stdout=subprocess.DEVNULL)

    def cpu_share(self, warm_up, seconds):
        """CPU share over `seconds` of wall time after `warm_up`."""
        time.sleep(max(0.0, self.started + warm_up - time.monotonic()))
        c0, t0 = cpu_seconds(self.process.pid), time.monotonic()
        time.sleep(seconds)
        c1, t1 = cpu_seconds(self.process.pid), time.monotonic()
        return 100.0 * (c1 - c0) / (t1 - t0)

    def stop(self):
        """Ends the program as a window manager would (SIGTERM) and reads its
        log: the first page's time after the start, and the paced frames."""
        self.process.send_signal(signal.SIGTERM)
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        first, frames = None, []
        with open(self.log) as f:
            for line in f:
                words = line.split()
                if words[0] == "first_present" and float(words[1]) >= 0:
                    first = float(words[1]) - self.started
                elif words[0] == "frame":
                    frames.append((float(words[1]), int(words[2])))
        os.unlink(self.log)
        return first, frames


def periods_at(frames, fps):
    """Periods between consecutive frames of one paced loop at `fps` (a gap of
    more than three periods is a change of loop, not a frame)."""
    target = 1.0 / fps
    out = []
    for (t0, f0), (t1, f1) in zip(frames, frames[1:]):
        if f0 == fps and f1 == fps and t1 - t0 < 3 * target:
            out.append(t1 - t0)
    return out


def spread(periods, fps):
    if not periods:
        return float("nan"), float("nan"), 0
    target = 1.0 / fps
    within = sum(abs(p - target) <= 0.001 for p in periods) / len(periods)
    mean_error = (statistics.fmean(periods) - target) / target
    return 100.0 * within, 100.0 * mean_error, len(periods)


def start_up(args, display, cwd, count):
    times = []
    for _ in range(count):
        run = Run(args, display, cwd)
        time.sleep(2.0)
        first, _ = run.stop()
        if first is not None:
            times.append(first)
    return statistics.median(times) if times else float("nan")


def play_recording(game, display, folder, seconds):
    """Play at TURBO while recording: its CPU share, frame spread, and the
    recording's bytes per minute over the measured time."""
    record = os.path.join(folder, "measure.hrp")
    run = Run([game, "--record", record], display, folder, pilot="turbo")
    time.sleep(max(0.0, run.started + 14.0 - time.monotonic()))
    b0, t0 = os.path.getsize(record), time.monotonic()
    share = run.cpu_share(0.0, seconds)
    b1, t1 = os.path.getsize(record), time.monotonic()
    _, frames = run.stop()
    os.unlink(record)
    return share, spread(periods_at(frames, 45), 45), (b1 - b0) * 60.0 / (t1 - t0) / 1024.0


def measure(size, display, build, seconds, rest_seconds, starts, idle_only, recording_only=False):
    game = os.path.join(build, "app", "halvane")
    floor = os.path.join(build, "tools", "perf", "halvane_floor")
    folder = game_folder()
    full_folder = game_folder(full_screen=True)
    server = start_x(display, size)
    row = {"size": size}
    nan = float("nan")
    try:
        if recording_only:
            run = Run([game], display, folder, pilot="turbo")
            row["play"] = run.cpu_share(14.0, seconds)
            _, frames = run.stop()
            row["play_spread"] = spread(periods_at(frames, 45), 45)
            row["play_rec"], row["play_rec_spread"], row["rec_kib_min"] = play_recording(
                game, display, folder, seconds)
            return row
        for fps in (60, 45):
            run = Run([floor, str(fps)], display, folder)
            row[f"floor{fps}"] = run.cpu_share(2.0, rest_seconds)
            _, frames = run.stop()
            row[f"floor{fps}_spread"] = spread(periods_at(frames, fps), fps)

        # The floor of idling: the same pacing with a page that never changes.
        run = Run([floor, "60", "still"], display, folder)
        row["floor_still"] = run.cpu_share(2.0, rest_seconds)
        run.stop()

        run = Run([game], display, folder)
        row["menu"] = run.cpu_share(3.0, rest_seconds)
        run.stop()

        run = Run([game], display, full_folder)
        row["menu_full"] = run.cpu_share(3.0, rest_seconds)
        run.stop()

        # Minimized by a window manager's own request, after the opening fade.
        row["menu_minimized"] = row["menu_covered"] = nan
        manager = start_window_manager(display)
        if manager is not None:
            run = Run([game], display, folder)
            time.sleep(3.0)
            if minimize_game(display):
                row["menu_minimized"] = run.cpu_share(1.0, rest_seconds)
            run.stop()
            # Covered whole by another window.
            run = Run([game], display, folder)
            time.sleep(3.0)
            cover = cover_game(display)
            if cover is not None:
                row["menu_covered"] = run.cpu_share(1.0, rest_seconds)
                cover.terminate()
                cover.wait()
            run.stop()
            manager.terminate()
            manager.wait()
        if idle_only:
            for key in ("play", "start_floor", "start_game", "play_rec", "rec_kib_min"):
                row[key] = nan
            row["play_spread"] = row["play_rec_spread"] = (nan, nan, 0)
            return row

        # The pilot sets TURBO on the options screen, launches, confirms the
        # briefing and plays; the minute is measured from then on.
        run = Run([game], display, folder, pilot="turbo")
        row["play"] = run.cpu_share(14.0, seconds)
        _, frames = run.stop()
        row["play_spread"] = spread(periods_at(frames, 45), 45)
        row["play_rec"], row["play_rec_spread"], row["rec_kib_min"] = play_recording(
            game, display, folder, seconds)

        row["start_floor"] = start_up([floor, "45"], display, folder, starts)
        row["start_game"] = start_up([game], display, folder, starts)
    finally:
        server.terminate()
        server.wait()
        shutil.rmtree(folder, ignore_errors=True)
        shutil.rmtree(full_folder, ignore_errors=True)
    return row


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build"))
    parser.add_argument("--play-seconds", type=float, default=60.0)
    parser.add_argument("--rest-seconds", type=float, default=20.0)
    parser.add_argument("--starts", type=int, default=5)
    parser.add_argument("--displays", default="11,12")
    parser.add_argument("--quick", action="store_true", help="short runs, for a first look")
    parser.add_argument("--sound", choices=("disk", "device", "off"), default="disk")
    parser.add_argument("--recording", action="store_true",
                        help="only play at TURBO, plainly and recording a replay")
    parser.add_argument("--idle-only", action="store_true",
                        help="only the floor and the menu at rest (window, full screen, minimized, covered)")
    options = parser.parse_args()
    if options.sound == "disk":
        SOUND_ENV.update(SDL_AUDIODRIVER="disk", SDL_DISKAUDIOFILE="/dev/null")
    elif options.sound == "off":
        SOUND_ENV.update(SDL_AUDIODRIVER="none")
    options.build = os.path.abspath(options.build)
    if options.quick:
        options.play_seconds, options.rest_seconds, options.starts = 15.0, 5.0, 3
    for program in ("app/halvane", "tools/perf/halvane_floor"):
        if not os.access(os.path.join(options.build, program), os.X_OK):
            sys.exit(f"{program} is not built in {options.build}")
    if shutil.which("Xvfb") is None:
        sys.exit("Xvfb is not installed")

    displays = [int(d) for d in options.displays.split(",")]
    rows = [measure(size, display, options.build, options.play_seconds, options.rest_seconds,
                    options.starts, options.idle_only, options.recording)
            for size, display in zip(("640x480", "1920x1080"), displays)]

    load = os.getloadavg()
    print(f"CPU: {os.cpu_count()} cores, load average {load[0]:.2f} {load[1]:.2f} {load[2]:.2f}")
    print(f"{'':34}" + "".join(f"{r['size']:>14}" for r in rows) + "   target")
    recording = [
        ("play at TURBO, % of a core", lambda r: f"{r['play']:.1f}", ""),
        ("play recording, % of a core", lambda r: f"{r['play_rec']:.1f}", ""),
        ("recording's cost per frame, us",
         lambda r: f"{(r['play_rec'] - r['play']) / 100.0 / 45.0 * 1e6:+.0f}", ""),
        ("play frames within 1 ms, %", lambda r: f"{r['play_spread'][0]:.1f}", ">= 95"),
        ("recording frames within 1 ms, %", lambda r: f"{r['play_rec_spread'][0]:.1f}", ">= 95"),
        ("recording mean period error, %", lambda r: f"{r['play_rec_spread'][1]:+.3f}",
         "within 0.2"),
        ("recording size, KiB per minute", lambda r: f"{r['rec_kib_min']:.1f}", "<= 64"),
    ]
    lines = recording if options.recording else [
        ("floor at 60 fps, % of a core", lambda r: f"{r['floor60']:.2f}", ""),
        ("floor at 45 fps, % of a core", lambda r: f"{r['floor45']:.1f}", ""),
        ("floor at rest (60, still), %", lambda r: f"{r['floor_still']:.2f}", ""),
        ("menu at rest, % of a core", lambda r: f"{r['menu']:.2f}", "<= 1"),
        ("menu at rest full screen, %", lambda r: f"{r['menu_full']:.2f}", "<= 1"),
        ("menu minimized, % of a core", lambda r: f"{r['menu_minimized']:.2f}", "<= 0.5"),
        ("menu covered, % of a core", lambda r: f"{r['menu_covered']:.2f}", "<= 0.5"),
        ("play at TURBO, % of a core", lambda r: f"{r['play']:.1f}", ""),
        ("play minus floor at 45, points", lambda r: f"{r['play'] - r['floor45']:+.1f}", "<= +3"),
        ("play frames within 1 ms, %", lambda r: f"{r['play_spread'][0]:.1f}", ">= 95"),
        ("play mean period error, %", lambda r: f"{r['play_spread'][1]:+.3f}", "within 0.2"),
        ("play frames measured", lambda r: f"{r['play_spread'][2]}", ""),
        ("play recording, % of a core", lambda r: f"{r['play_rec']:.1f}", ""),
        ("recording's cost per frame, us",
         lambda r: f"{(r['play_rec'] - r['play']) / 100.0 / 45.0 * 1e6:+.0f}", ""),
        ("recording frames within 1 ms, %", lambda r: f"{r['play_rec_spread'][0]:.1f}", ">= 95"),
        ("recording size, KiB per minute", lambda r: f"{r['rec_kib_min']:.1f}", "<= 64"),
        ("floor frames within 1 ms, %", lambda r: f"{r['floor45_spread'][0]:.1f}", ""),
        ("start-up floor, s (median)", lambda r: f"{r['start_floor']:.3f}", ""),
        ("start-up game, s (median)", lambda r: f"{r['start_game']:.3f}", ""),
        ("game minus floor start-up, s",
         lambda r: f"{r['start_game'] - r['start_floor']:+.3f}", "<= +0.1"),
    ]
    for label, value, target in lines:
        print(f"{label:34}" + "".join(f"{value(r):>14}" for r in rows) + f"   {target}")


if __name__ == "__main__":
    main()
