#!/usr/bin/env python3
"""Compares a recording of the game's sound (raw 16-bit mono 44.1 kHz, as
SDL's disk driver writes it) with the shipped sounds, for sound_check.sh.

Usage: sound_check.py <recording> <Sound folder> <frame when Enter went down>
       sound_check.py --resumed <recording> <Sound folder>

The mixer is exact: at the volume steps 3 (190 of 255) each recorded sample
is (effects * 190 + tune * 190) / 255, cut toward zero. So the menu tune is
looked for sample by sample from the recording's start, and the select
effect in what remains after the tune is taken away (within one step of
rounding). Exit code 1 when either is not there.

With --resumed the recording is what a device reopened in the menu took (the
game reopens it when its window goes out of view and comes back): it must be
the menu tune, exactly, going on from somewhere past its start rather than
starting over."""
import array
import math
import sys

RATE = 44100
LEVEL = 190  # volume step 3 on the 0..255 scale


def read_wav(path):
    data = open(path, "rb").read()
    at = 12
    while at + 8 <= len(data):
        size = int.from_bytes(data[at + 4:at + 8], "little")
        if data[at:at + 4] == b"data":
            samples = array.array("h")
            samples.frombytes(data[at + 8:at + 8 + size])
            return samples
        at += 8 + size + (size & 1)
    sys.exit(f"{path}: no samples")


def scaled(value):
    """value * LEVEL / 255, cut toward zero as the mixer's C division."""
    product = value * LEVEL
    return product // 255 if product >= 0 else -((-product) // 255)


def correlation(a, b):
    ab = sum(x * y for x, y in zip(a, b))
    aa = sum(x * x for x in a)
    bb = sum(y * y for y in b)
    return ab / math.sqrt(aa * bb) if aa and bb else 0.0


def resumed():
    recording = array.array("h")
    recording.frombytes(open(sys.argv[2], "rb").read())
    tune = read_wav(f"{sys.argv[3]}/menu_music.wav")
    expected = [scaled(v) for v in tune]
    if len(recording) < RATE:
        print(f"FAILED: the reopened device took only {len(recording)} samples")
        return 1
    found = None
    for d in (d for d, v in enumerate(expected) if v == recording[0]):
        if all(recording[k] == expected[(d + k) % len(tune)] for k in range(0, RATE)):
            found = d
            break
    if found is None or found < RATE // 2:
        print("FAILED: after the window came back the menu tune does not go on "
              f"(found at {found} samples)")
        return 1
    print(f"ok: after the window came back the menu tune goes on from {found / RATE:.2f} s")
    return 0


def main():
    if sys.argv[1] == "--resumed":
        return resumed()
    recording = array.array("h")
    recording.frombytes(open(sys.argv[1], "rb").read())
    tune = read_wav(f"{sys.argv[2]}/menu_music.wav")
    select = read_wav(f"{sys.argv[2]}/fx_menu_select.wav")
    key = int(sys.argv[3])
    failures = 0
    print(f"recording: {len(recording) / RATE:.2f} s; Enter went down at {key / RATE:.3f} s")

    # The menu tune: the first place where a second of it matches exactly.
    expected = [scaled(v) for v in tune[:key]]
    start = None
    for d in range(0, min(len(recording) - RATE, 3 * RATE)):
        if all(recording[d + k] == expected[k] for k in range(0, RATE, 3)):
            start = d
            break
    if start is None:
        print("FAILED: the menu tune is not in the recording")
        return 1
    span = key - start
    wrong = sum(recording[start + k] != expected[k] for k in range(span))
    r = correlation(recording[start:key], expected[:span])
    rms = math.sqrt(sum(v * v for v in expected[:span]) / span)
    print(f"menu tune from {1000 * start / RATE:.1f} ms after the device opened, "
          f"{span / RATE:.2f} s until Enter: {wrong} samples differ, correlation {r:.6f}, "
          f"level {rms:.0f} RMS")
    if start > RATE or wrong or r < 0.999 or rms < 100:
        print("FAILED: the menu tune does not sound from the start at MUSIC VOLUME 75 %")
        failures += 1
    else:
        print("ok: the menu tune sounds from the start")

    # The select effect: what remains after the tune is taken away.
    def tune_at(n):
        return scaled(tune[(n - start) % len(tune)])

    effect = [scaled(v) for v in select]
    onset = None
    for e in range(key - RATE // 10, min(key + RATE, len(recording) - len(effect))):
        if all(abs(recording[e + k] - tune_at(e + k) - effect[k]) <= 1
               for k in range(0, len(effect))):
            onset = e
            break
    if onset is None:
        print("FAILED: the select effect does not follow Enter")
        return failures + 1
    rest = [recording[onset + k] - tune_at(onset + k) for k in range(len(effect))]
    r = correlation(rest, effect)
    delay = 1000 * (onset - key) / RATE
    print(f"select effect {delay:.1f} ms after the key went down, correlation {r:.6f}")
    # The mixer starts a request at its next pull, so the sound leaves within
    # two device buffers (512 frames, 11.6 ms each) of the request; before it
    # come the key's way through the X server and the menu's next poll, which
    # a busy machine stretches. So only a sound far later than that fails.
    if r < 0.999 or not -5 <= delay <= 100:
        print("FAILED: the select effect is not what the game made, or late")
        failures += 1
    else:
        print("ok: the select effect follows Enter on LAUNCH")
    return failures


if __name__ == "__main__":
    sys.exit(1 if main() else 0)
