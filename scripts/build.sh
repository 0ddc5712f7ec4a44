#!/usr/bin/env bash
# Configures and builds one tree. Usage: build.sh BUILD_DIR [extra cmake arguments]
# BUILD_TARGET names the one target to build (the program, say); without it everything is
# built: the program, the tests and the benchmarks.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$1; shift
cmake -S "$root" -B "$dir" -G Ninja "$@"
if [ -n "${BUILD_TARGET:-}" ]; then
  cmake --build "$dir" -j "$(nproc)" --target "$BUILD_TARGET"
else
  cmake --build "$dir" -j "$(nproc)"
fi
