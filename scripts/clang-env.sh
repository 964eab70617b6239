# shellcheck shell=bash
# Sourced by the sanitizer and fuzzer scripts: installs what Mapolin needs, clang 14 with its
# sanitizer runtimes and llvm-symbolizer, names the compiler for a new build tree and sets how
# findings are reported.
scripts/install-deps.sh clang-14 libclang-rt-14-dev llvm-14
export CC=clang-14 CXX=clang++-14
export ASAN_SYMBOLIZER_PATH=/usr/lib/llvm-14/bin/llvm-symbolizer
# Undefined behaviour is built to abort; the stack shows where.
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
