#!/usr/bin/env bash
# Installs what is missing, builds the program alone (not the tests or benchmarks) and starts it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
BUILD_TARGET=Fraxilon bash "$root/scripts/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
exec "$root/build/Fraxilon"
