#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan and UBSan on) into build-fuzz/ and runs each for
# a bounded time: scripts/fuzz.sh [SECONDS_PER_TARGET, default 30]. A crash stops the run with
# the reproducer saved in build-fuzz/fuzz-artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVELORA_FUZZ=ON -DVELORA_BUILD_TESTS=OFF -DVELORA_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz --target fuzz_command_line fuzz_private_profile fuzz_tsql_translator \
  fuzz_formula_compiler
mkdir -p build-fuzz/fuzz-artifacts
for target in fuzz_command_line fuzz_private_profile fuzz_tsql_translator fuzz_formula_compiler; do
  echo "== $target ($seconds s)"
  mkdir -p "build-fuzz/corpus/$target"
  build-fuzz/fuzz/$target -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix=build-fuzz/fuzz-artifacts/ "build-fuzz/corpus/$target" 2>&1 | tail -n 4
done
