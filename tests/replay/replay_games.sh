#!/bin/sh
# Games played by the automatic pilot under the headless display (won, lost,
# aborted), recorded, then played back by the program headless with --check:
# the same summary (frames, score, best score, last page), no page differs,
# and the best-score file the recorded game wrote is left as it was.
# Usage: replay_games.sh RECORD_PILOT HALVANE SOURCE_DIR
set -e
pilot="$1" halvane="$2" source="$3"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp -r "$source/Data" "$source/Graphics" "$work"
rm -f "$work/Data/hs.dat"
cd "$work"
failed=0
for mode in win lose abort; do
    "$pilot" "$mode" "$mode.hrp" >"$mode.record.txt"
    cp Data/hs.dat hs.before 2>/dev/null || : >hs.before
    if ! "$halvane" --replay "$mode.hrp" --headless --check >"$mode.replay.txt" 2>"$mode.err"; then
        echo "$mode: the replay failed: $(cat "$mode.err")"
        failed=1
        continue
    fi
    recorded="$(sed -n 's/^record: //p' "$mode.record.txt")"
    replayed="$(sed -n 's/^replay: \([0-9]* frames.*\)/\1/p' "$mode.replay.txt")"
    echo "$mode: recorded $recorded ($(wc -c <"$mode.hrp") bytes)"
    echo "$mode: replayed $replayed; $(sed -n 's/^replay: \([0-9]* page hashes.*\)/\1/p' "$mode.replay.txt")"
    [ -n "$recorded" ] && [ "$recorded" = "$replayed" ] || { echo "$mode: the summaries differ"; failed=1; }
    grep -q "no difference" "$mode.replay.txt" || { echo "$mode: no page hashes compared"; failed=1; }
    # (A note that the versions differ may stand there: the tool is not the program.)
    if grep -v "note: .* was recorded by version" "$mode.err" | grep -q .; then
        echo "$mode: stderr: $(cat "$mode.err")"
        failed=1
    fi
    if [ -f Data/hs.dat ]; then cmp -s Data/hs.dat hs.before; else [ ! -s hs.before ]; fi ||
        { echo "$mode: the replay changed the best-score file"; failed=1; }
done
# The won game made a best score, which the later runs read from the file
# (and carry in their recordings).
grep -q "best score [1-9]" win.record.txt || { echo "win: no best score was made"; failed=1; }
grep -q "best score [1-9]" abort.record.txt || { echo "abort: the best score was not read"; failed=1; }
exit $failed
