#!/bin/sh
# A check of the real window, run by hand (needs Xvfb, xdotool and
# x11-utils): the game, with its shipped files and a best score on file, is
# ended by SIGTERM or SIGINT on the menu, the briefing and in play, and must
# exit with code 0 each time with the best-score file unchanged.
#   tests/faults/window_end_check.sh build/app/halvane
set -u
program=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d /tmp/halvane-ends-XXXXXX)
failures=0
mkdir -p "$work/Data"
cp "$root"/Data/level?.dat "$root/Data/setup.dat" "$work/Data/"
ln -s "$root/Graphics" "$work/Graphics"
# "12345" scrambled with the game's key, then CR LF.
printf '\223\244\224\247\240\r\n' >"$work/Data/hs.dat"
cp "$work/Data/hs.dat" "$work/hs.before"

display=:$((50 + $$ % 40))
Xvfb "$display" -screen 0 1280x960x24 >"$work/xvfb.log" 2>&1 &
xvfb=$!
sleep 2
export DISPLAY="$display"

# run_and_end <signal> <Enter presses before it> <seconds after them>
run_and_end() {
    rm -f "$work/rc"
    (cd "$work" && exec "$program" >"$work/out.log" 2>"$work/err.log") &
    game=$!
    for _ in $(seq 50); do
        xwininfo -name Halvane >/dev/null 2>&1 && break
        sleep 0.2
    done
    sleep 1.5
    i=0
    while [ "$i" -lt "$2" ]; do
        xdotool keydown Return; sleep 0.2; xdotool keyup Return; sleep 1.5
        i=$((i + 1))
    done
    sleep "$3"
    kill "-$1" "$game"
    wait "$game"
    rc=$?
    if [ "$rc" = 0 ] && cmp -s "$work/hs.before" "$work/Data/hs.dat"; then
        echo "ok: $1 after $2 Enter and $3 s: exit 0, best score intact"
    else
        echo "FAILED: $1 after $2 Enter and $3 s: exit $rc"
        cat "$work/err.log"
        failures=$((failures + 1))
    fi
}

run_and_end TERM 0 0.5  # menu
run_and_end INT 0 1     # menu
run_and_end TERM 1 0.2  # leaving the menu, briefing
run_and_end INT 1 2     # briefing
run_and_end TERM 2 1    # play
run_and_end INT 2 4     # play, or the Esc prompt / the next screen
run_and_end TERM 2 9

kill "$xvfb"
rm -rf "$work"
echo "window ends: $failures failed"
[ "$failures" -eq 0 ]
