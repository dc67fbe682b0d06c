#!/usr/bin/env bash
# Installs what is missing, builds, and starts the game in the build directory (its data/ tree beside it).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
cd "${TAVRO_BUILD_DIR:-$root/build}"
exec ./tavro
