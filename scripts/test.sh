#!/usr/bin/env bash
# Installs what is missing, builds Fraxilon with its tests and runs every test.
# SANITIZE=1 builds a separate tree with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
if [ "${SANITIZE:-0}" = 1 ]; then
  dir="$root/build-sanitize"
  bash "$root/scripts/build.sh" "$dir" -DCMAKE_BUILD_TYPE=Debug -DFRAXILON_SANITIZE=ON -DFRAXILON_BENCH=OFF
  export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
else
  dir="$root/build"
  bash "$root/scripts/build.sh" "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
