#!/usr/bin/env bash
# Runs every benchmark program in the given bin directory.
set -euo pipefail
bin="${1:-build/bin}"
found=0
for b in "$bin"/bench_*; do
  [ -x "$b" ] || continue
  found=1
  echo "== $(basename "$b")"
  "$b" --benchmark_min_time=0.2
done
[ $found -eq 1 ] || echo "no benchmarks built in $bin"
