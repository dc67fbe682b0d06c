#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once in a normal build, once under
# AddressSanitizer and UndefinedBehaviorSanitizer, then every fuzz target for a few seconds. Tests
# that need a display run under Xvfb.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"

jobs=$(nproc)
run_suite() {
  local dir=$1; shift
  TAVRO_BUILD_DIR=$dir "$root/scripts/build.sh" -DTAVRO_BUILD_BENCH=OFF "$@"
  (cd "$dir" && xvfb-run -a -s "-screen 0 1024x768x24 -noreset" \
      ctest --output-on-failure -j"$jobs" --timeout 600)
}

# Includes may only point down the layers.
python3 "$root/scripts/check-layers.py"
# One house style (.clang-format) for the game, its tools, tests and benchmarks.
(cd "$root" && find src tools tests bench \( -name '*.cpp' -o -name '*.h' \) -print0 |
  xargs -0 clang-format --dry-run --Werror)

# Without debug information: it would only slow the build down.
run_suite "$root/build" -DTAVRO_SANITIZE=OFF -DCMAKE_BUILD_TYPE=Release
if [ "${TAVRO_SKIP_SANITIZE:-0}" != 1 ]; then
  # Leak reports are off: the GL, X and SDL libraries keep allocations to the end of the process.
  # PLIB's 3DS loader frees with delete what it made with new[]: that mismatch is not ours.
  export ASAN_OPTIONS=detect_leaks=0:alloc_dealloc_mismatch=0 UBSAN_OPTIONS=print_stacktrace=1
  # A debug build, so every assert runs too.
  run_suite "$root/build-sanitize" -DTAVRO_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
fi
if [ "${TAVRO_SKIP_FUZZ:-0}" != 1 ]; then
  # A target that no longer builds, or fails on its seeds or at once, fails the run; the long
  # runs are for people (scripts/fuzz.sh 600).
  "$root/scripts/fuzz.sh" "${TAVRO_FUZZ_SECONDS:-3}"
fi
