#!/usr/bin/env bash
# Configures and builds Tavro into build/ (or $TAVRO_BUILD_DIR).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TAVRO_BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
