#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each for FUZZ_SECONDS (60) on
# its seeds in fuzz/corpus/<target>/; fails on a crash, a sanitizer finding, a hang or a target
# without seeds. Arguments name the targets to run (default: all of them).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-60}
source scripts/clang-env.sh
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMAPOLIN_BUILD_FUZZ=ON \
  -DMAPOLIN_BUILD_TESTS=OFF -DMAPOLIN_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc)" --target fuzzers
if [ "$#" -eq 0 ]; then
  for source in fuzz/fuzz_*.cpp; do set -- "$@" "$(basename "$source" .cpp)"; done
fi
passed=0
failed=0
for target in "$@"; do
  seeds=fuzz/corpus/$target
  # New inputs go to a scratch folder; the committed seeds are only read.
  work=build-fuzz/runs/$target
  rm -rf "$work"
  mkdir -p "$work/corpus"
  if [ -z "$(ls -A "$seeds" 2>/dev/null)" ]; then
    echo "$target: FAILED, no seeds in $seeds/"
    failed=$((failed + 1))
    continue
  fi
  if "build-fuzz/bin/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -print_final_stats=1 -artifact_prefix="$work/" "$work/corpus" "$seeds" >"$work/log" 2>&1; then
    passed=$((passed + 1))
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log")
    echo "$target: $runs runs in $seconds s, no finding"
  else
    failed=$((failed + 1))
    tail -n 60 "$work/log"
    echo "$target: FAILED (the failing input is kept in $work/)"
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
