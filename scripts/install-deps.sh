#!/usr/bin/env bash
# Installs the Debian 12 packages Vorlix needs to build, run and test.
# Only packages that are missing are installed; needs root (or sudo).
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    libsqlite3-dev
    mdbtools-dev
    qt6-base-dev qt6-translations-l10n fonts-liberation
    libgtest-dev libgmock-dev libbenchmark-dev
)
if [ "${1:-}" = "--test" ]; then
    # The package test validates with desktop-file-utils, appstream, man-db, lintian.
    packages+=(sqlite3 chromium desktop-file-utils appstream man-db lintian)
    # The fuzz programs: clang with its libFuzzer and sanitizer runtimes.
    packages+=(clang-14 libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update
"${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
