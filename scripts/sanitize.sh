#!/usr/bin/env bash
# Builds Mapolin and its tests with clang under AddressSanitizer and UndefinedBehaviorSanitizer
# into build-asan/ and runs every test there as scripts/test.sh does; any finding fails its test.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/clang-env.sh
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMAPOLIN_SANITIZE=ON \
  -DMAPOLIN_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan -j "$(nproc)"
# Leaks count as findings too: the suite runs clean without a suppression list.
export ASAN_OPTIONS=detect_leaks=1:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1
cd build-asan
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j 2 --timeout 600
