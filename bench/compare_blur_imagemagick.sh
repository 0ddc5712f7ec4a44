#!/usr/bin/env bash
# Blurs one 4000 x 3000 picture with our Gaussian blur and with ImageMagick's "convert -blur"
# in the same run and prints the times side by side with their ratio.
#
# Our blur at level G is G + 1 passes of a four-sample mean at distance 3, whose spread is
# sigma = 3 * sqrt(G + 1) pixels; ImageMagick is asked for the same sigma ("-blur 0xSIGMA").
# ImageMagick reads the picture from its own memory-mapped format, and the time of a plain
# read is taken off, so both sides count the blur alone.
#
# Usage: bench/compare_blur_imagemagick.sh [BUILD_DIR]   (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
bench="$build/bench/bench_effects"

if ! command -v convert >/dev/null 2>&1 || ! convert -version 2>/dev/null | grep -q '^Version: ImageMagick'; then
  echo "ImageMagick (convert) is not installed: comparison skipped."
  exit 0
fi
[ -x "$bench" ] || { echo "missing $bench: build the benchmarks first" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
convert -size 4000x3000 -seed 1 plasma:fractal -depth 8 -type TrueColor "BMP3:$work/picture.bmp"
convert "$work/picture.bmp" "$work/picture.mpc"

seconds() {  # best of three wall times of a command, in milliseconds
  local best=""
  for _ in 1 2 3; do
    local t0 t1
    t0=$(date +%s%N); "$@" >/dev/null 2>&1; t1=$(date +%s%N)
    local ms=$(( (t1 - t0) / 1000000 ))
    if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
  done
  echo "$best"
}

read_ms=$(seconds convert "$work/picture.mpc" null:)
ours=$(QT_QPA_PLATFORM=offscreen FRAXILON_BENCH_PICTURE="$work/picture.bmp" "$bench" \
         --benchmark_filter='BM_GaussianBlur/' --benchmark_format=csv 2>/dev/null |
       awk -F, '/BM_GaussianBlur\// { gsub(/"/, "", $1); split($1, a, "/"); print a[2], $3 }')

printf '%-6s %-7s %12s %12s %12s %8s\n' level sigma "ours (ms)" "IM (ms)" "IM 1 thread" ratio
while read -r level ms; do
  sigma=$(awk -v g="$level" 'BEGIN { printf "%.2f", 3 * sqrt(g + 1) }')
  im=$(( $(seconds convert "$work/picture.mpc" -blur "0x$sigma" null:) - read_ms ))
  im1=$(( $(seconds convert -limit thread 1 "$work/picture.mpc" -blur "0x$sigma" null:) - read_ms ))
  ratio=$(awk -v a="$ms" -v b="$im" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }')
  printf '%-6s %-7s %12.1f %12d %12d %8s\n' "$level" "$sigma" "$ms" "$im" "$im1" "$ratio"
done <<< "$ours"
echo "ratio = our time / ImageMagick's time (all threads); below 1 means ours is faster."
