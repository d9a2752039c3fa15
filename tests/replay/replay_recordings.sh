#!/bin/sh
# The recordings of real play kept in tests/replay/recordings, each replayed
# headless with --check from the source folder: a change that alters what the
# game does with the same input makes a page differ, and this fails until the
# recordings are renewed on purpose (tests/replay/window_replay_check.sh
# build/app/halvane --keep tests/replay/recordings).
# Usage: replay_recordings.sh HALVANE SOURCE_DIR
set -u
halvane="$1" source="$2"
cd "$source"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failed=0
count=0
for recording in tests/replay/recordings/*.hrp; do
    count=$((count + 1))
    "$halvane" --replay "$recording" --headless --check >"$work/out" 2>"$work/err"
    code=$?
    said=$(tr '\n' ' ' <"$work/out")
    case "$code:$said" in
    0:*"no difference"*) echo "ok: $recording: $said" ;;
    *) echo "FAILED: $recording (exit $code): $(cat "$work/err") $said"; failed=1 ;;
    esac
done
[ "$count" -ge 2 ] || { echo "FAILED: only $count recordings"; failed=1; }
exit $failed
