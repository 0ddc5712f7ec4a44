#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Fraxilon need.
# Only missing packages are installed, so the script can be run again at no cost.
# "install-deps.sh fuzz" adds clang and its sanitizer and libFuzzer runtimes for the fuzz
# targets (libclang_rt.fuzzer comes with libclang-rt-14-dev, which clang only recommends).
set -euo pipefail
packages=(g++ cmake ninja-build pkg-config qt6-base-dev libgl-dev libjpeg62-turbo-dev
          libgtest-dev libgmock-dev libbenchmark-dev fonts-liberation2 fonts-dejavu-core
          libxkbcommon-x11-0 libxcb-cursor0 qt6-translations-l10n)
if [ "${1:-}" = fuzz ]; then
  packages+=(clang libclang-rt-14-dev)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y "${missing[@]}"
fi
