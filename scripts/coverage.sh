#!/usr/bin/env bash
# Builds an instrumented copy into build-coverage/ (or $TAVRO_COVERAGE_DIR), runs the whole test
# suite under Xvfb and prints the line coverage of src/. Not part of the default test run.
# Needs gcovr (Debian package "gcovr").
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TAVRO_COVERAGE_DIR:-$root/build-coverage}
jobs=${TAVRO_JOBS:-$(nproc)}

command -v gcovr >/dev/null || { echo "coverage.sh: gcovr is missing (apt-get install gcovr)" >&2; exit 1; }

cmake -S "$root" -B "$build" -DTAVRO_COVERAGE=ON -DTAVRO_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug "$@" >/dev/null
cmake --build "$build" -j"$jobs"
# Counts from an earlier run would add up with this one's.
find "$build" -name '*.gcda' -delete
# A failing test still leaves its counts; report them, then pass the failure on.
status=0
(cd "$build" && xvfb-run -a -s "-screen 0 1024x768x24 -noreset" \
    ctest --output-on-failure -j"$jobs" --timeout 600) || status=$?
# The generated script surface lives in the build tree and is not counted.
gcovr --root "$root" --filter "$root/src/" --print-summary --txt "$build/coverage.txt" "$build" |
  tail -n 3
echo "coverage.sh: per-file report in $build/coverage.txt"
exit $status
