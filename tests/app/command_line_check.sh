#!/bin/sh
# The real program's answers to its command line: streams and exit codes.
# Usage: command_line_check.sh <halvane program> <version>. Runs without a
# display: options that let the game start reach the display and end with
# the no-display exit code 1, not with a usage.
prog="$1"
version="$2"
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
status=0

# expect <exit code> <stdout pattern|-> <stderr pattern|-> -- words...
expect() {
    code="$1" outPattern="$2" errPattern="$3"
    shift 4
    env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER= "$prog" "$@" >"$out" 2>"$err" </dev/null
    got=$?
    fail=""
    [ "$got" -eq "$code" ] || fail="exit code $got, not $code"
    if [ "$outPattern" = "-" ]; then
        [ -s "$out" ] && fail="$fail; unexpected stdout"
    else
        grep -q -- "$outPattern" "$out" || fail="$fail; stdout lacks '$outPattern'"
    fi
    if [ "$errPattern" = "-" ]; then
        [ -s "$err" ] && fail="$fail; unexpected stderr"
    else
        grep -q -- "$errPattern" "$err" || fail="$fail; stderr lacks '$errPattern'"
    fi
    if [ -n "$fail" ]; then
        echo "halvane $*: $fail" >&2
        sed 's/^/  out: /' "$out" >&2
        sed 's/^/  err: /' "$err" >&2
        status=1
    fi
}

expect 0 "^Usage: halvane \[OPTION\]" - -- --help
expect 0 "^Usage: halvane \[OPTION\]" - -- -h --bogus
expect 0 "^halvane $version\$" - -- --version
expect 0 "^halvane $version\$" - -- -V
expect 2 - "unknown option '--bogus'" -- --bogus
expect 2 - "^Usage: halvane" -- --bogus
expect 2 - "Try 'halvane --help'" -- --depth 24
expect 2 - "needs a value" -- --depth
expect 2 - "unexpected argument 'x'" -- --window x
expect 2 - "takes no value" -- --fullscreen=1
expect 2 - "'/nonexistent/halvane' is not a folder" -- --data /nonexistent/halvane
expect 2 - "--data needs a folder" -- --data=
expect 0 "^Files: all in /tmp (Data/" - -- --data /tmp --help
# Accepted: the game goes on to open the display and finds none.
expect 1 - "graphical display" -- --window --depth 16
expect 1 - "graphical display" -- --fullscreen --depth=32 --window
expect 1 - "graphical display" --
expect 1 - "graphical display" -- --data=/tmp --depth=16
# The one line of --version is all it prints.
"$prog" --version | wc -l | grep -qx 1 || { echo "--version printed more than one line" >&2; status=1; }
exit $status
