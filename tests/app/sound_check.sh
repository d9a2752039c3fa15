#!/bin/sh
# A check of the game's sound from end to end, run by hand (it needs Xvfb,
# xdotool, x11-utils and python3; openbox for the minimized window):
#   tests/app/sound_check.sh build/app/halvane [seconds of play after LAUNCH]
# The real program runs on a virtual X server with SDL's disk audio driver,
# which writes every mixed sample to a file instead of a device. The check
# then compares that recording with the shipped sounds, sample by sample:
#  - the menu tune sounds from the menu's start, at the MUSIC VOLUME step 3;
#  - after Enter on LAUNCH the menu select effect follows (it prints how long
#    after the key went down), at the SFX VOLUME step 3;
# and it fails on silence, noise or a tune that is not the menu's. It also
# minimizes the window (where openbox is installed) and checks that the
# device is reopened with a large buffer and again when the window is back,
# the menu tune going on; and it ends with the device failing (its file on a
# full disk) and checks that the game says so once and plays on. Leaves the recording in the scratch folder
# it prints (raw 16-bit mono 44.1 kHz samples, out.raw).
set -u
program=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
play="${2:-3}"
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(mktemp -d /tmp/halvane-sound-XXXXXX)
failures=0
echo "scratch folder: $work"
cp -r "$root/Data" "$work/Data"
ln -s "$root/Graphics" "$work/Graphics"
ln -s "$root/Sound" "$work/Sound"

# A display number no other X server holds.
n=$((50 + $$ % 40))
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
display=":$n"
Xvfb "$display" -screen 0 1280x960x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
# Up to 10 s for its socket: a busy machine starts it slowly.
for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    sleep 0.2
done
sleep 0.2
if ! kill -0 "$xvfb" 2>/dev/null || [ ! -e "/tmp/.X11-unix/X$n" ]; then
    echo "FAILED: Xvfb $display did not start"
    exit 1
fi
export DISPLAY="$display"

wait_for_window() {
    for _ in $(seq 50); do
        xwininfo -name Halvane >/dev/null 2>&1 && return
        sleep 0.2
    done
}

# --- the recording: menu, Enter on LAUNCH, the briefing ---------------------
(cd "$work" && SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/out.raw" "$program" \
    >"$work/out.log" 2>"$work/err.log") &
game=$!
wait_for_window
sleep 3 # the menu's fade-in and a few seconds of its tune
# Where the recording stands when the key goes down.
key_frame=$(($(stat -c %s "$work/out.raw") / 2))
xdotool keydown Return
sleep 0.15
xdotool keyup Return
sleep "$play"
kill -TERM "$game"
wait "$game"
python3 "$here/sound_check.py" "$work/out.raw" "$root/Sound" "$key_frame" || failures=$((failures + 1))

# --- out of view and back: the device is reopened twice, the tune goes on --
# SDL's disk driver says "Writing to file" at each opening, and each opening
# starts its file anew, so the file then holds what followed the last one.
if command -v openbox >/dev/null 2>&1; then
    openbox >"$work/openbox.log" 2>&1 &
    wm=$!
    sleep 1
    (cd "$work" && SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/back.raw" "$program" \
        >"$work/back.log" 2>"$work/back.err") &
    game=$!
    wait_for_window
    sleep 3
    window=$(xdotool search --name Halvane | head -n 1)
    xdotool windowminimize "$window"
    sleep 2.5
    hidden=$(grep -c "Writing to file" "$work/back.err")
    xdotool windowactivate "$window"
    sleep 2.5
    back=$(grep -c "Writing to file" "$work/back.err")
    kill -TERM "$game"
    wait "$game"
    kill "$wm" 2>/dev/null
    if [ "$hidden" = 2 ] && [ "$back" = 3 ]; then
        echo "ok: the device is reopened out of view and again when back in view"
    else
        echo "FAILED: device openings: $hidden when minimized, $back when back (2 and 3 wanted)"
        failures=$((failures + 1))
    fi
    python3 "$here/sound_check.py" --resumed "$work/back.raw" "$root/Sound" || failures=$((failures + 1))
fi

# --- a device that fails mid-game: the game says so once and plays on -------
if [ -w /dev/full ]; then
    (cd "$work" && SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/full "$program" \
        >"$work/full.log" 2>"$work/full.err") &
    game=$!
    wait_for_window
    sleep 3
    if kill -0 "$game" 2>/dev/null; then
        echo "ok: with its device failing the game plays on"
    else
        echo "FAILED: the game ended when its sound device failed"
        failures=$((failures + 1))
    fi
    kill -TERM "$game" 2>/dev/null
    wait "$game"
    said=$(grep -c "sound device stopped" "$work/full.err")
    if [ "$said" = 1 ]; then
        echo "ok: the failed device is reported once"
    else
        echo "FAILED: the failed device was reported $said times"
        failures=$((failures + 1))
    fi
fi

# --- no device at all: one line, and the game plays on ---------------------
(cd "$work" && SDL_AUDIODRIVER=none "$program" >"$work/none.log" 2>"$work/none.err") &
game=$!
wait_for_window
# Said once the device was tried (soon after the window opens, later on a
# busy machine), and said only once.
for _ in $(seq 50); do
    grep -q 'halvane: no sound' "$work/none.err" && break
    sleep 0.2
done
sleep 1
if kill -0 "$game" 2>/dev/null && [ "$(grep -c 'halvane: no sound' "$work/none.err")" = 1 ]; then
    echo "ok: without a device the game says so once and plays on"
else
    echo "FAILED: without a device: $(cat "$work/none.err")"
    failures=$((failures + 1))
fi
kill -TERM "$game" 2>/dev/null
wait "$game"

kill "$xvfb"
wait "$xvfb" 2>/dev/null
[ "$failures" = 0 ] && echo "sound check passed" || echo "sound check FAILED ($failures)"
exit "$failures"
