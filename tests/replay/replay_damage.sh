#!/bin/sh
# Damaged and cut recordings: a pilot's game recorded, then cut at every
# 1,000th byte and with single bytes flipped, and files that are no
# recording at all. Each replay must end with exit code 0 or 1 (never a
# crash or a hang) and one clear line on stderr: a cut recording plays up to
# its end and says so (exit 0; cut inside its header, exit 1), a damaged one
# is refused (exit 1).
# Usage: replay_damage.sh RECORD_PILOT HALVANE SOURCE_DIR
set -e
pilot="$1" halvane="$2" source="$3"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp -r "$source/Data" "$source/Graphics" "$work"
rm -f "$work/Data/hs.dat"
cd "$work"
"$pilot" win game.hrp >/dev/null
size=$(wc -c <game.hrp)
failed=0

# Replays `file`; expects exit code `code` and one stderr line matching `pattern`.
expect() {
    file="$1" code="$2" pattern="$3" what="$4"
    set +e
    timeout 120 "$halvane" --replay "$file" --headless --check >out.txt 2>err.txt
    got=$?
    set -e
    grep -v "note: .* was recorded by version" err.txt >said.txt || :
    if [ "$got" -ne "$code" ] || [ "$(wc -l <said.txt)" -ne 1 ] || ! grep -q "$pattern" said.txt; then
        echo "$what: exit $got (wanted $code), stderr: $(cat err.txt)"
        failed=1
    fi
}

cuts=0
at=1000
while [ "$at" -lt "$size" ]; do
    head -c "$at" game.hrp >cut.hrp
    if [ "$at" -lt "$(head -c 16 game.hrp | od -An -tu4 -j12 -N4 | tr -d ' ')" ]; then
        expect cut.hrp 1 "cut short inside its header" "cut at $at"
    else
        expect cut.hrp 0 "cut short); replayed up to there" "cut at $at"
        grep -q "^replay: .* frames" out.txt || { echo "cut at $at: no summary"; failed=1; }
    fi
    cuts=$((cuts + 1))
    at=$((at + 1000))
done

# One byte flipped: in the header, in the first chunk's header, inside the
# compressed events, and the last byte.
for at in 20 200 $((size / 3)) $((size / 2)) $((size - 1)); do
    cp game.hrp flipped.hrp
    byte=$(od -An -tu1 -j "$at" -N1 game.hrp | tr -d ' ')
    printf "$(printf '\\%03o' $((byte ^ 0x55)))" |
        dd of=flipped.hrp bs=1 seek="$at" conv=notrunc 2>/dev/null
    expect flipped.hrp 1 "is damaged" "byte $at flipped"
done

: >empty.hrp
expect empty.hrp 1 "is empty: not a replay" "an empty file"
expect Data/level1.dat 1 "is not a Halvane replay" "a level file"
expect missing.hrp 1 "cannot open the replay" "a missing file"
cp game.hrp newer.hrp
printf '\011' | dd of=newer.hrp bs=1 seek=8 conv=notrunc 2>/dev/null
expect newer.hrp 1 "newer than this program reads" "a newer format"
printf 'x' >>Graphics/backg2.bgr
expect game.hrp 1 "recorded with a different Graphics/backg2.bgr" "a changed picture"

# A run killed (SIGKILL) half-way: what was written by then (at least twice a
# second) replays, and the replay says where it ends.
"$pilot" win killed.hrp >killed.txt &
sleep 1
kill -9 $! 2>/dev/null
wait $! 2>/dev/null || :
if grep -q "^record:" killed.txt; then
    echo "note: the run to be killed ended first (a fast machine); not checked"
else
    expect killed.hrp 0 "cut short); replayed up to there" "a run killed half-way"
    frames=$(sed -n 's/^replay: \([0-9]*\) frames.*/\1/p' out.txt)
    [ "${frames:-0}" -gt 0 ] || { echo "a run killed half-way: no frames replayed"; failed=1; }
fi

echo "$cuts cuts and 5 flipped bytes of a $size-byte recording, 5 other files," \
    "a run killed after ${frames:-0} frames"
exit $failed
