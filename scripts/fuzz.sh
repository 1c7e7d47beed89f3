#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer + UndefinedBehaviorSanitizer) in
# fuzz-build/ and runs each for FUZZ_SECONDS (default 60) on a working copy of its seed corpus in
# fuzz/corpus/<target>/. A crash or a broken invariant stops that target and leaves the input in
# fuzz-build/findings/<target>/; the script then exits non-zero.
#   scripts/fuzz.sh                    every target
#   FUZZ_SECONDS=10 scripts/fuzz.sh link set_file
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/fuzz-build"
seconds="${FUZZ_SECONDS:-60}"

"$root/scripts/install-deps.sh" --fuzz

if [ ! -f "$build/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKQ904_FUZZ=ON -DKQ904_BUILD_BENCH=OFF -DKQ904_WERROR=OFF > /dev/null
fi

if [ $# -gt 0 ]; then
  targets=("$@")
else
  targets=()
  for source in "$root"/fuzz/fuzz_*.cpp; do
    name="$(basename "$source" .cpp)"
    targets+=("${name#fuzz_}")
  done
fi

ninja -C "$build" "${targets[@]/#/fuzz_}"

status=0
printf '%-14s %12s %8s %8s  %s\n' target executions cov ft result
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  findings="$build/findings/$target"
  log="$build/logs/$target.log"
  mkdir -p "$corpus" "$findings" "$(dirname "$log")"
  # The seeds go into the working corpus; what the fuzzer adds stays out of the source tree.
  if [ -d "$root/fuzz/corpus/$target" ]; then
    cp -n "$root/fuzz/corpus/$target"/* "$corpus"/ 2> /dev/null || true
  fi
  result=ok
  if ! "$build/bin/fuzz_$target" -max_total_time="$seconds" -max_len=8192 -timeout=10 \
      -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" > "$log" 2>&1; then
    result="FAILED: see $log and $findings/"
    status=1
  fi
  executions="$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | grep -o '[0-9]*$' || echo '?')"
  final="$(grep -E '(DONE|pulse|NEW|REDUCE) +cov:' "$log" | tail -1)"
  cov="$(sed -nE 's/.*cov: ([0-9]+).*/\1/p' <<< "$final")"
  ft="$(sed -nE 's/.*ft: ([0-9]+).*/\1/p' <<< "$final")"
  printf '%-14s %12s %8s %8s  %s\n' "$target" "$executions" "${cov:-?}" "${ft:-?}" "$result"
done
exit $status
