#!/bin/sh
# Real play in the window, recorded and replayed headless with --check. Run by
# hand (it needs xvfb, xdotool, x11-utils and imagemagick):
#   tests/replay/window_replay_check.sh build/app/halvane [SESSION] [--keep FOLDER]
# On a virtual X server of its own, xdotool plays SESSION (default: all three)
# in a scratch copy of the game's files with --record, pressing keys and moving
# the mouse with pauses as a player would:
#   options_play_abort  the menu; OPTIONS: GAME SPEED changed, back; LAUNCH;
#                       the briefing; flight by mouse (firing, C and V); a
#                       screenshot (S); Esc and Y; QUIT
#   keyboard_flight     OPTIONS: CONTROLS to the keyboard; LAUNCH; flight by
#                       the arrow keys, Space firing; Esc, N, later Esc and Y;
#                       QUIT
#   help_16bit          at 16 bits: HELP and back, the menu's highlight moved
#                       around; QUIT
# Each recording is then played back by `--replay FILE --headless --check`,
# which must find no difference and end with the recorded summary line.
# --keep FOLDER copies the recordings there (tests/replay/recordings renews the
# ones the test command replays). Leaves its captures in the scratch folder.
set -u
program=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
shift
sessions="options_play_abort keyboard_flight help_16bit"
keep=""
while [ $# -gt 0 ]; do
    case "$1" in
    --keep) keep=$(cd "$2" && pwd); shift 2 ;;
    *) sessions="$1"; shift ;;
    esac
done
source=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d /tmp/halvane-replay-XXXXXX)
echo "scratch folder: $work"
failures=0

display=:$((50 + $$ % 40))
Xvfb "$display" -screen 0 1280x960x24 >"$work/xvfb.log" 2>&1 &
xvfb=$!
export DISPLAY="$display"
for _ in $(seq 100); do
    xwininfo -root >/dev/null 2>&1 && break
    sleep 0.1
done

press() { # press KEY [held seconds]
    xdotool keydown "$1"
    sleep "${2:-0.15}"
    xdotool keyup "$1"
    sleep 0.35
}

options_play_abort() {
    press Down; press Return; sleep 1          # OPTIONS
    press Down; press Down; press Return       # GAME SPEED: NORMAL to FAST
    press Down; press Down; press Down; press Down; press Return; sleep 1 # GO BACK
    press Up; press Return; sleep 2            # LAUNCH
    press Return; sleep 1; press Return; sleep 2 # the briefing
    for step in 1 2 3 4 5 6; do
        xdotool mousemove_relative -- 40 -25; sleep 0.4
        xdotool keydown space; sleep 0.6; xdotool keyup space
        xdotool mousemove_relative -- -60 30; sleep 0.4
        [ "$step" = 3 ] && press c 0.4
        [ "$step" = 4 ] && press v 0.4
    done
    press s; sleep 0.5                         # a screenshot
    press Escape; sleep 1.5; press y; sleep 2.5 # abort
    press Up; press Return; sleep 2            # QUIT
}

keyboard_flight() {
    press Down; press Return; sleep 1          # OPTIONS
    press Return                               # CONTROLS: to the keyboard
    press Down; press Down; press Down; press Down; press Down; press Down; press Return
    sleep 1
    press Up; press Return; sleep 2            # LAUNCH
    press Return; sleep 1; press Return; sleep 2
    for step in 1 2 3 4 5; do
        xdotool keydown Left space; sleep 0.5; xdotool keyup Left
        xdotool keydown Up; sleep 0.3; xdotool keyup Up space
        xdotool keydown Right; sleep 0.6; xdotool keyup Right
        xdotool keydown Down; sleep 0.3; xdotool keyup Down
        [ "$step" = 2 ] && { press Escape; sleep 1.5; press n; sleep 1; }
    done
    press Escape; sleep 1.5; press y; sleep 2.5
    press Up; press Return; sleep 2
}

help_16bit() {
    press Down; press Down; press Return; sleep 2 # HELP
    press Return; sleep 1.5                       # back on LAUNCH
    press Down; press Down; press Up; press Up; press Up; sleep 0.5 # round to QUIT
    press Return; sleep 2
}

for session in $sessions; do
    folder="$work/$session"
    mkdir -p "$folder"
    cp -r "$source/Data" "$source/Graphics" "$folder"
    rm -f "$folder/Data/hs.dat"
    options=""
    [ "$session" = help_16bit ] && options="--depth 16"
    # shellcheck disable=SC2086
    (cd "$folder" && "$program" --window $options --record "$session.hrp" \
        >record.txt 2>record.err; echo $? >rc) &
    for _ in $(seq 50); do
        xwininfo -name Halvane >/dev/null 2>&1 && break
        sleep 0.2
    done
    sleep 2 # the menu's fade
    "$session"
    import -window root "$folder/last.png"
    for _ in $(seq 50); do
        [ -s "$folder/rc" ] && break
        sleep 0.2
    done
    if [ "$(cat "$folder/rc" 2>/dev/null)" != 0 ]; then
        echo "FAILED: $session: the recorded game did not end by QUIT ($(cat "$folder/record.err"))"
        failures=$((failures + 1))
        continue
    fi
    (cd "$folder" && "$program" --replay "$session.hrp" --headless --check >replay.txt 2>replay.err)
    recorded=$(sed -n 's/^record: //p' "$folder/record.txt")
    replayed=$(sed -n 's/^replay: \([0-9]* frames.*\)/\1/p' "$folder/replay.txt")
    if grep -q "no difference" "$folder/replay.txt" && [ -n "$recorded" ] &&
        [ "$recorded" = "$replayed" ]; then
        echo "ok: $session: $recorded; $(wc -c <"$folder/$session.hrp") bytes;" \
            "$(sed -n 's/^replay: \([0-9]* page hashes.*\)/\1/p' "$folder/replay.txt")"
        [ -n "$keep" ] && cp "$folder/$session.hrp" "$keep/"
    else
        echo "FAILED: $session: recorded '$recorded', replayed '$replayed': $(cat "$folder/replay.err")"
        failures=$((failures + 1))
    fi
    ls "$folder"/screenshot*.bmp >/dev/null 2>&1 && echo "   screenshots: $(cd "$folder" && ls screenshot*.bmp)"
done

kill "$xvfb" 2>/dev/null
echo "$failures failed"
[ "$failures" -eq 0 ]
