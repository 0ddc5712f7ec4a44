#!/usr/bin/env bash
# Blurs one 4000 x 3000 picture with our Gaussian blur and with ImageMagick's "convert -blur"
# in the same run and prints the times side by side with their ratio.
#
# Our blur at level G is G + 1 passes of a four-sample mean at distance 3, worked in place from
# the top row down: each pixel takes the already blurred row 3 above it, so one pass has the
# variance of two out-of-place passes (18 pixels squared on each axis, no shift). Its spread is
# sigma = 3 * sqrt(2 (G + 1)) pixels, and ImageMagick is asked for that sigma ("-blur 0xSIGMA").
# Ours runs on one thread; ImageMagick is timed with all its threads and with one, and the
# header says how many it has. ImageMagick reads the picture from its own memory-mapped format,
# and the time of a plain read is taken off, so both sides count the blur alone. A convert that
# fails is never timed: its row says "failed" and its message is shown at the end.
#
# Usage: bench/compare_blur_imagemagick.sh [BUILD_DIR]   (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
bench="$build/bench/bench_effects"

# The first "convert" on the path that really is ImageMagick's.
magick_bin=""
while read -r candidate; do
  if "$candidate" -version 2>/dev/null | grep -q '^Version: ImageMagick'; then magick_bin=$candidate; break; fi
done < <(type -ap convert)
if [ -z "$magick_bin" ]; then
  echo "ImageMagick (convert) is not installed: comparison skipped."
  exit 0
fi
convert() { "$magick_bin" "$@"; }
[ -x "$bench" ] || { echo "missing $bench: build the benchmarks first" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
convert -size 4000x3000 -seed 1 plasma:fractal -depth 8 -type TrueColor "BMP3:$work/picture.bmp"
convert "$work/picture.bmp" "$work/picture.mpc"

# Best of three wall times of a command in milliseconds; prints "failed" (and keeps the
# message) when any of the three fails.
seconds() {
  local best=""
  for _ in 1 2 3; do
    local t0 t1
    t0=$(date +%s%N)
    if ! "$@" </dev/null >/dev/null 2>"$work/last-error"; then
      { echo "$*:"; cat "$work/last-error"; } >>"$work/errors"
      echo failed
      return
    fi
    t1=$(date +%s%N)
    local ms=$(( (t1 - t0) / 1000000 ))
    if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
  done
  echo "$best"
}

# The blur's time: the command's less the plain read's, or "failed".
blur_ms() {
  local t
  t=$(seconds "$@")
  if [ "$t" = failed ] || [ "$read_ms" = failed ]; then echo failed; else echo $(( t - read_ms )); fi
}

read_ms=$(seconds convert "$work/picture.mpc" null:)
ours=$(QT_QPA_PLATFORM=offscreen FRAXILON_BENCH_PICTURE="$work/picture.bmp" "$bench" \
         --benchmark_filter='BM_GaussianBlur/' --benchmark_format=csv 2>/dev/null |
       awk -F, '/BM_GaussianBlur\// { gsub(/"/, "", $1); split($1, a, "/"); print a[2], $3 }')
[ -n "$ours" ] || { echo "$bench gave no blur times" >&2; exit 1; }

im_threads=$(convert -list resource | awk '/^ *Thread:/ { print $2 }')
echo "ours: 1 thread; ImageMagick: ${im_threads:-?} threads (\"IM\") and 1 thread (\"IM 1 thread\"); $(uptime)"
printf '%-6s %-7s %12s %12s %12s %8s\n' level sigma "ours (ms)" "IM (ms)" "IM 1 thread" ratio
while read -r level ms; do
  sigma=$(awk -v g="$level" 'BEGIN { printf "%.2f", 3 * sqrt(2 * (g + 1)) }')
  im=$(blur_ms convert "$work/picture.mpc" -blur "0x$sigma" null:)
  im1=$(blur_ms convert -limit thread 1 "$work/picture.mpc" -blur "0x$sigma" null:)
  ratio=$(awk -v a="$ms" -v b="$im" 'BEGIN { if (b == "failed" || b <= 0) print "-"; else printf "%.3f", a / b }')
  printf '%-6s %-7s %12.1f %12s %12s %8s\n' "$level" "$sigma" "$ms" "$im" "$im1" "$ratio"
done <<< "$ours"
if [ -s "$work/errors" ]; then echo "ImageMagick failed:"; cat "$work/errors"; fi
echo "ratio = our time / ImageMagick's time (all threads); below 1 means ours is faster."
