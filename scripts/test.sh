#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --test
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVORLIX_SANITIZE=ON
cmake --build build/test
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build/test --output-on-failure -j "$(nproc)"
# The fuzz programs over their seeds and half a minute each, where clang is.
if command -v clang++ >/dev/null || command -v clang++-14 >/dev/null; then
    bash fuzz/run.sh
fi
