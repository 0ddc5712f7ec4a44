#!/usr/bin/env bash
# Builds the libFuzzer targets of every file reader with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) in their own tree, build-fuzz, and runs each on a copy of its
# seed corpus from fuzz/corpus for a few seconds, so that the targets keep building and the
# readers keep surviving their seeds and what grows from them. Any sanitizer report, crash,
# leak, out-of-memory or hang fails the run; the input is kept in build-fuzz/fuzz-run/TARGET.
# FUZZ_SECONDS: seconds per target (5). FUZZ_TARGETS: the targets to run (all of them).
# BUILD_JOBS: parallel compile jobs (one per core).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh" fuzz
dir="$root/build-fuzz"
seconds=${FUZZ_SECONDS:-5}
# target and its longest input: the shipped language file and the longer seed programs need
# more than the default
declare -A max_len=([config]=4096 [language]=16384 [message]=4096 [program]=16384
                    [design]=4096 [bmp]=4096 [ico]=4096 [jpeg]=4096)
targets=(${FUZZ_TARGETS:-config language message program design bmp ico jpeg})

CC=clang CXX=clang++ cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DFRAXILON_FUZZ=ON -DFRAXILON_TESTS=OFF -DFRAXILON_BENCH=OFF >/dev/null
cmake --build "$dir" -j "${BUILD_JOBS:-$(nproc)}" --target "${targets[@]/#/fuzz_}"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:print_stacktrace=1
export LSAN_OPTIONS="suppressions=$root/fuzz/lsan-suppressions.txt:print_suppressions=0"
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
passed=0
failed=0
for t in "${targets[@]}"; do
  work="$dir/fuzz-run/$t"
  rm -rf "$work"
  mkdir -p "$work/corpus" "$work/tmp"
  cp "$root/fuzz/corpus/$t/"* "$work/corpus/"
  if (cd "$work" && TMPDIR="$work/tmp" "$dir/fuzz/fuzz_$t" -max_len="${max_len[$t]}" \
        -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
        corpus >"$work/log" 2>&1); then
    echo "fuzz_$t: $(grep -Eo '^Done [0-9]+ runs' "$work/log" | tail -1 || true), ok"
    passed=$((passed + 1))
  else
    echo "fuzz_$t: FAILED, the end of $work/log:"
    tail -n 40 "$work/log"
    failed=$((failed + 1))
  fi
done
echo "fuzz targets: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
