#!/usr/bin/env bash
# Plays MATCHES (default 20) computer matches back to back in one run of the real program
# (tavro --soak), 50 times as fast, in a scratch folder, with 320x240 windowed video and
# one-minute periods at random arenas and times of day. Prints the memory and the open file
# descriptors after each match, then "soak: N matches, RSS growth X MB, descriptors D → D'",
# the growth counted from the end of the first match.
#   scripts/soak.sh [MATCHES]
# Fails when the program does not play them all and end cleanly, the memory grew by 5 MB or
# more after the first match, the descriptors changed, a later match logged a warning or an
# error the first did not, or a sanitizer reported anything. TAVRO_BUILD_DIR picks the build
# (build/ by default); in a sanitized one the memory is shown but not judged, since the
# sanitizer holds freed memory back on purpose. TAVRO_SOAK_SCALE changes the speed;
# TAVRO_KEEP_SCRATCH=1 keeps the folder with the log.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
matches=${1:-20}
build=${TAVRO_BUILD_DIR:-$root/build}
scale=${TAVRO_SOAK_SCALE:-50}

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" "$@"
fi
if [ ! -f "$build/CMakeCache.txt" ]; then
  TAVRO_BUILD_DIR=$build "$root/scripts/build.sh" -DTAVRO_BUILD_BENCH=OFF
fi
cmake --build "$build" --target tavro tavro_data -j"$(nproc)" >/dev/null
sanitized=0
grep -q '^TAVRO_SANITIZE:BOOL=ON' "$build/CMakeCache.txt" && sanitized=1

dir=$(mktemp -d "${TMPDIR:-/tmp}/tavro-soak-XXXXXX")
trap '[ -n "${TAVRO_KEEP_SCRATCH:-}" ] || rm -rf "$dir"' EXIT
ln -s "$build/data" "$dir/data"
echo "320 240 32 0" >"$dir/video.cfg"
# One-minute periods, two-second turns, random time of day and arena, music, aim guide and
# replays on; the soak itself makes the match PC vs PC.
python3 -c '
import struct, sys
record = struct.pack("<iiiiBBBBi2i", 1, 2, 2, 2, 1, 2, 1, 1, -1, 0, 1)
record += struct.pack("<5i", 113, 97, 122, 120, 99) + b"qazxc\0\0\0"
record += struct.pack("<5i", 111, 107, 110, 109, 112) + b"oknmp\0\0\0"
open(sys.argv[1], "wb").write(record)' "$dir/options.dat"

export SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS=alloc_dealloc_mismatch=0
# Leaks are judged below, not by the exit status.
export LSAN_OPTIONS=suppressions=$root/tests/fuzz/lsan.supp:print_suppressions=0:exitcode=0
export UBSAN_OPTIONS=print_stacktrace=1
status=0
(cd "$dir" && "$build/tavro" --soak "$matches" --time-scale "$scale" 2>"$dir/stderr.txt") | tee "$dir/stdout.txt" ||
  status=$?

problems=()
[ $status -eq 0 ] || problems+=("the program ended with status $status")
# Any error report counts; a leak counts unless every frame that allocated it lies in a library
# unloaded before the exit (nothing to tell whose it was) or in the sanitizer itself.
if grep -q -E 'ERROR: AddressSanitizer|runtime error' "$dir/stderr.txt"; then
  cat "$dir/stderr.txt"
  problems+=("a sanitizer reported")
fi
if ! awk '
  function flush() {
    if (inleak && known) { printf "%s\n", block; found = 1 }
    inleak = 0
  }
  /^(Direct|Indirect) leak of/ { flush(); block = $0 "\n"; inleak = 1; known = 0; next }
  inleak && /^ *#[0-9]+ / {
    block = block $0 "\n"
    if ($1 != "#0" && $0 !~ /<unknown module>|libasan\.so/) known = 1
    next
  }
  { flush() }
  END { flush(); exit found }' "$dir/stderr.txt"; then
  problems+=("a sanitizer reported leaks")
fi
# Warnings and errors by match, without their time stamps: none new after the first match.
while IFS= read -r line; do
  problems+=("$line")
done < <(awk '
  /Message: SOAK: Match / { match_no++; next }
  / - (Warning|Error): / {
    text = $0; sub(/^[^-]* - /, "", text)
    if (match_no == 0) { first[text] = 1 } else if (!(text in first) && !(text in told)) {
      told[text] = 1; printf "match %d logged what the first did not: %s\n", match_no + 1, text
    }
  }' "$dir/Log.txt")
mapfile -t rss < <(sed -n 's/^soak: match .* RSS \([0-9.]*\) MB.*/\1/p' "$dir/stdout.txt")
mapfile -t fds < <(sed -n 's/^soak: match .*, \([0-9-]*\) descriptors$/\1/p' "$dir/stdout.txt")
played=${#rss[@]}
if [ "$played" -ne "$matches" ]; then
  tail -n 20 "$dir/Log.txt" 2>/dev/null || true
  problems+=("$played of $matches matches played")
fi
summary="soak: $played matches"
if [ "$played" -ge 1 ]; then
  growth=$(awk -v a="${rss[0]}" -v b="${rss[played - 1]}" 'BEGIN { printf "%.1f", b - a }')
  summary+=", RSS growth $growth MB, descriptors ${fds[0]} → ${fds[played - 1]}"
  if [ $sanitized -eq 0 ] && awk -v g="$growth" 'BEGIN { exit !(g >= 5) }'; then
    problems+=("the memory grew by 5 MB or more after the first match")
  fi
  [ "$(printf '%s\n' "${fds[@]}" | sort -u | wc -l)" -eq 1 ] || problems+=("the open file descriptors changed")
fi
for problem in "${problems[@]}"; do
  echo "soak: $problem"
done
echo "$summary"
[ ${#problems[@]} -eq 0 ]
