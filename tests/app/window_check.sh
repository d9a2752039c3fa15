#!/bin/sh
# A check of the real window, run by hand (it needs Xvfb, openbox, wmctrl,
# xdotool, x11-utils, imagemagick and python3):
#   tests/app/window_check.sh build/app/halvane [screen size, e.g. 1280x960]
# On a virtual X server it shows a test picture as the title and checks that
#  - the window shows it exactly (a capture scaled back equals the file, but
#    for the menu's items),
#  - closing the window ends the game with exit code 0,
#  - SIGTERM ends it with exit code 0,
#  - without a display it says so and exits with 1.
# Leaves the captures in the scratch folder it prints.
set -u
program=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
size="${2:-1280x960}"
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d /tmp/halvane-window-XXXXXX)
failures=0
echo "scratch folder: $work"

mkdir -p "$work/Data" "$work/Graphics"
printf '0,0,32\n' >"$work/Data/setup.dat"
python3 "$here/window_picture.py" "$work/Graphics/mmenu.bgr"
# The game needs its font sheet; the menu's four items drawn with it are
# blanked in both pictures before they are compared.
cp "$here/../../Graphics/zqfont.fnt" "$work/Graphics/"
menu_items="rectangle 285,125 420,180"

display=:$((50 + $$ % 40))
Xvfb "$display" -screen 0 "${size}x24" >"$work/xvfb.log" 2>&1 &
xvfb=$!
sleep 2
export DISPLAY="$display"

# Starts the game in the scratch folder; its exit code lands in $work/rc.
start_game() {
    rm -f "$work/rc"
    (cd "$work" && "$program" >"$work/out.log" 2>"$work/err.log"; echo $? >"$work/rc") &
    for _ in $(seq 50); do
        xwininfo -name Halvane >/dev/null 2>&1 && break
        sleep 0.2
    done
    sleep 1.5 # a few frames shown
}

# Waits up to 5 s for the game to end; prints its exit code.
game_exit_code() {
    for _ in $(seq 50); do
        [ -s "$work/rc" ] && break
        sleep 0.1
    done
    cat "$work/rc" 2>/dev/null || echo "still running"
}

verdict() { # verdict <what> <got> <wanted>
    if [ "$2" = "$3" ]; then
        echo "ok: $1 ($2)"
    else
        echo "FAILED: $1: got $2, wanted $3"
        failures=$((failures + 1))
    fi
}

# 1. The picture, exactly: the page's place in the window follows the
#    largest integer scale that fits, centred.
start_game
info=$(xwininfo -name Halvane)
x=$(echo "$info" | awk '/Absolute upper-left X/ {print $4}')
y=$(echo "$info" | awk '/Absolute upper-left Y/ {print $4}')
w=$(echo "$info" | awk '/Width:/ {print $2}')
h=$(echo "$info" | awk '/Height:/ {print $2}')
scale=$(( w / 640 < h / 480 ? w / 640 : h / 480 ))
pw=$((640 * scale))
ph=$((480 * scale))
px=$((x + (w - pw) / 2))
py=$((y + (h - ph) / 2))
echo "window ${w}x${h} at $x,$y; page at scale $scale"
import -window root "$work/shot.png"
convert "$work/shot.png" -crop "${pw}x${ph}+${px}+${py}" +repage -sample 640x480 \
    -fill black -draw "$menu_items" "$work/page.png"
convert "$work/Graphics/mmenu.bgr" -fill black -draw "$menu_items" "$work/want.png"
differing=$(compare -metric AE "$work/page.png" "$work/want.png" null: 2>&1)
verdict "pixels differing from the picture" "$differing" 0

# 2. SIGTERM.
pid=$(xdotool search --name Halvane getwindowpid 2>/dev/null || pgrep -n -f "$program")
kill -TERM "$pid"
verdict "exit code after SIGTERM" "$(game_exit_code)" 0

# 3. Closing the window through the window manager.
openbox >"$work/openbox.log" 2>&1 &
wm=$!
sleep 1
start_game
wmctrl -c Halvane
verdict "exit code after closing the window" "$(game_exit_code)" 0
kill "$wm" 2>/dev/null

# 4. No display at all.
kill "$xvfb" 2>/dev/null
(cd "$work" && env -u DISPLAY -u WAYLAND_DISPLAY "$program" >/dev/null 2>"$work/nodisplay.log"; echo $? >"$work/rc")
verdict "exit code without a display" "$(cat "$work/rc")" 1
echo "its message: $(tail -n 1 "$work/nodisplay.log")"

[ "$failures" -eq 0 ] && echo "all window checks passed"
exit "$failures"
