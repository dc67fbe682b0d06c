#!/usr/bin/env bash
# Builds the fuzz targets of tests/fuzz/targets with clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer into their own build folder, build-fuzz/ (or $TAVRO_FUZZ_DIR), and
# runs each for SECONDS (default 30), as many at once as there are cores. Prints one line per
# target, "<target>: N runs, M new paths, OK", or what failed and the input that did it (kept
# in build-fuzz/fuzz/<target>/). Exits non-zero on any crash, sanitizer report, leaked memory or
# file descriptor, input that takes over 2 s or a process above 512 MB.
#   scripts/fuzz.sh [SECONDS]
# TAVRO_FUZZ_TARGETS="arena camera" runs only those. TAVRO_FUZZ_MERGE=1 adds to the seeds in
# tests/fuzz/corpus/<target>/ the inputs of the run that reach code the seeds do not.
# Inputs that add coverage gather in build-fuzz/fuzz/<target>/corpus and seed the next run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-30}
build=${TAVRO_FUZZ_DIR:-$root/build-fuzz}
jobs=${TAVRO_JOBS:-$(nproc)}
fuzz=$root/tests/fuzz

# The targets that draw open one small window each on this display.
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" "$@"
fi

# Asserts stay on; -O1 keeps the runs fast and the reports readable.
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DTAVRO_FUZZ=ON -DCMAKE_BUILD_TYPE=Debug \
  "-DCMAKE_C_FLAGS_DEBUG=-O1 -gline-tables-only" "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -gline-tables-only" >/dev/null
mkdir -p "$build/fuzz"
if ! cmake --build "$build" --target fuzz_targets -j"$jobs" >"$build/fuzz/build.log" 2>&1; then
  tail -n 40 "$build/fuzz/build.log"
  echo "fuzz: the targets do not build (log: $build/fuzz/build.log)"
  exit 1
fi

# PLIB frees with delete what it made with new[]; the suppressed leaks are the system libraries'.
# A smaller quarantine than the default 256 MB, so the 512 MB limit measures the readers.
export ASAN_OPTIONS=alloc_dealloc_mismatch=0:quarantine_size_mb=64
export LSAN_OPTIONS=suppressions=$fuzz/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1

# Runs one target for the whole time; its line goes to <out>/result. A timeout is taken for the
# machine's load, and fuzzing goes on, only when the input then runs alone within the limit.
run_target() {
  local name=$1 out=$build/fuzz/$1
  local program=$build/tests/fuzz/fuzz_$name
  rm -rf "$out/result" "$out/log" "$out"/crash-* "$out"/leak-* "$out"/timeout-* "$out"/oom-* "$out"/slow-unit-*
  mkdir -p "$out/corpus"
  # Inputs are written in memory: a busy disk must not pass for a slow reader.
  local scratch
  scratch=$(mktemp -d "$shm/tavro-fuzz-$$-$name-XXXXXX")
  local seeds=("$fuzz/corpus/$name")
  [ -d "$fuzz/regress/$name" ] && seeds+=("$fuzz/regress/$name")
  local dict=()
  [ -f "$fuzz/dict/$name.dict" ] && dict=("-dict=$fuzz/dict/$name.dict")
  local limits=(-timeout=2 -rss_limit_mb=512)
  local deadline=$((SECONDS + seconds)) runs=0 paths=0 loaded=0 status input got
  while :; do
    status=0
    TMPDIR=$scratch "$program" -max_total_time=$((deadline > SECONDS ? deadline - SECONDS : 1)) "${limits[@]}" \
      -print_final_stats=1 -artifact_prefix="$out/" "${dict[@]}" "$out/corpus" "${seeds[@]}" \
      </dev/null >>"$out/log" 2>&1 || status=$?
    got=$(sed -n 's/^stat::number_of_executed_units: *//p' "$out/log" | tail -n 1)
    runs=$((runs + ${got:-0}))
    got=$(sed -n 's/^stat::new_units_added: *//p' "$out/log" | tail -n 1)
    paths=$((paths + ${got:-0}))
    [ $status -eq 0 ] && break
    input=$(ls -t "$out"/timeout-* 2>/dev/null | head -n 1 || true)
    if [ -n "$input" ] && [ $loaded -lt 100 ] &&
      TMPDIR=$scratch "$program" "${limits[@]}" "$input" </dev/null >>"$out/log" 2>&1; then
      loaded=$((loaded + 1))
      rm -f "$input"
      [ $SECONDS -lt $deadline ] && continue
      status=0
    fi
    break
  done
  if [ $status -eq 0 ] && [ "${TAVRO_FUZZ_MERGE:-0}" = 1 ]; then
    TMPDIR=$scratch "$program" -merge=1 "${limits[@]}" "$fuzz/corpus/$name" "$out/corpus" </dev/null \
      >>"$out/log" 2>&1 || status=$?
  fi
  rm -rf "$scratch"
  if [ $status -eq 0 ]; then
    local note=""
    [ $loaded -gt 0 ] && note=" ($loaded timeout(s) under load that did not repeat alone)"
    echo "$name: $runs runs, $paths new paths, OK$note" >"$out/result"
    return
  fi
  input=$(ls -t "$out"/crash-* "$out"/leak-* "$out"/timeout-* "$out"/oom-* 2>/dev/null | head -n 1 || true)
  local what
  what=$(grep -m1 -a -o -E 'ERROR: [A-Za-z]+: [a-z-]+|fuzz: broken: .*|runtime error: .*|deadly signal' "$out/log" ||
    true)
  echo "$name: FAILED${what:+ ($what)}, ${input:+input $input, }log $out/log" >"$out/result"
}

shm=/dev/shm
[ -d "$shm" ] && [ -w "$shm" ] || shm=${TMPDIR:-/tmp}
trap 'rm -rf "$shm"/tavro-fuzz-$$-*' EXIT
trap 'exit 1' INT TERM

targets=()
for source in "$fuzz"/targets/*.cpp; do
  targets+=("$(basename "$source" .cpp)")
done
if [ -n "${TAVRO_FUZZ_TARGETS:-}" ]; then
  read -r -a targets <<<"$TAVRO_FUZZ_TARGETS"
fi
for name in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do
    wait -n || true
  done
  run_target "$name" &
done
wait

failed=0
for name in "${targets[@]}"; do
  line=$(cat "$build/fuzz/$name/result" 2>/dev/null || echo "$name: FAILED, no result (log $build/fuzz/$name/log)")
  echo "$line"
  case $line in *", OK" | *", OK ("*) ;; *) failed=1 ;; esac
done
exit $failed
