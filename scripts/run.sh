#!/usr/bin/env bash
# Installs what is missing, builds Vorlix in release mode and starts it.
# Arguments are handed to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORLIX_BUILD_TESTS=OFF
cmake --build build/release
if [ -x build/release/src/vorlix ]; then
    exec build/release/src/vorlix "$@"
fi
exec build/release/src/vorlix-cli "$@"
