#!/bin/sh
# Fuzzes every reader of outside data for a bounded time under AddressSanitizer
# and UndefinedBehaviorSanitizer (clang's libFuzzer).
# Usage: fuzz/run.sh [seconds per target, default 5]
# Builds in build-fuzz/, makes the seed corpora (valid files of every kind),
# replays them with the kept inputs of earlier runs (build-fuzz/corpus/) and
# the committed regression inputs (fuzz/regressions/), then fuzzes each target.
# An input that crashes is saved in build-fuzz/crashes/ and the run fails.
set -e
seconds="${1:-5}"
cd "$(dirname "$0")/.."
root="$(pwd)"
# Absolute, since each target works inside a scratch folder of its own.
build="$root/${HALVANE_FUZZ_BUILD:-build-fuzz}"
targets="image_file text_fields level_file hiscore font sound_file replay"

CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DHALVANE_FUZZ=ON -DHALVANE_TESTS=OFF -DHALVANE_BENCH=OFF -DHALVANE_WINDOW=OFF \
    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all" \
    >/dev/null
build_targets="make_seeds"
for t in $targets; do build_targets="$build_targets ${t}_fuzz"; done
# shellcheck disable=SC2086
cmake --build "$build" -j2 --target $build_targets

rm -rf "$build/seeds"
"$build/fuzz/make_seeds" "$build/seeds" .
mkdir -p "$build/crashes"

passed=0
failed=0
for t in $targets; do
    mkdir -p "$build/corpus/$t" "$root/fuzz/regressions/$t"
    log="$build/$t.log"
    # The first folder receives the new inputs; the others are only read.
    if "$build/fuzz/${t}_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$build/crashes/$t-" \
        "$build/corpus/$t" "$build/seeds/$t" "$root/fuzz/regressions/$t" >"$log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        echo "fuzz $t: ${runs:-?} runs in ${seconds} s, no finding"
        passed=$((passed + 1))
    else
        echo "fuzz $t: FAILED (input in $build/crashes/, log $log)" >&2
        tail -40 "$log" >&2
        failed=$((failed + 1))
    fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
