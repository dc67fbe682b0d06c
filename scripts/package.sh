#!/usr/bin/env bash
# Builds the Debian package tavro_<version>_<arch>.deb in build-package/ (the program in
# /usr/games, as Debian's games are), and checks it with lintian.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
build=$root/build-package
TAVRO_BUILD_DIR=$build "$root/scripts/build.sh" -DTAVRO_BUILD_TESTS=OFF -DTAVRO_BUILD_BENCH=OFF \
  -DTAVRO_INSTALL_BINDIR=games -DCMAKE_BUILD_TYPE=RelWithDebInfo
(cd "$build" && cpack)
lintian --fail-on error "$build"/tavro_*.deb
