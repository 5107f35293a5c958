#!/usr/bin/env bash
# Builds the fuzz programs with clang and runs each over its seeds, its saved
# regressions and then FUZZ_SECONDS (default 30) of new inputs, as many side
# by side as there are cores. Any crash, leak, undefined behaviour, hang or
# broken property fails the run; the input is kept under build/fuzz/artifacts.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-30}
build=build/fuzz

# Debian's clang-14 package names its programs with the version.
cxx=${FUZZ_CXX:-$(command -v clang++ || command -v clang++-14)}
CC=${cxx/clang++/clang} CXX=$cxx cmake -S . -B "$build" -G Ninja \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORLIX_FUZZ=ON \
    -DVORLIX_BUILD_GUI=OFF -DVORLIX_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

run_one() {
    local program="$build/fuzz/fuzz_$1"
    local dict=fuzz/dict/$1.dict
    case $1 in access_*) dict=fuzz/dict/access.dict ;; esac
    local work="$build/corpus/$1" artifacts="$build/artifacts/$1/"
    rm -rf "$work" && mkdir -p "$work" "$artifacts"
    local corpora=("$work" "fuzz/corpus/$1")
    [ -d "fuzz/regressions/$1" ] && corpora+=("fuzz/regressions/$1")
    # Whole valid Access files get the whole-file program past the header.
    [ "$1" = access_table ] && [ -d tests/data/access ] && corpora+=(tests/data/access)
    # Inputs longer than the seeds from the start: several patches at once,
    # several texts or files of some length.
    local options=()
    case $1 in
    access_overlay) options=(-len_control=0 -max_len=1024) ;;
    html_writer) options=(-len_control=0 -max_len=2048) ;;
    header_parser | source_search) options=(-len_control=0 -max_len=4096) ;;
    esac
    if "$program" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -dict="$dict" \
        -artifact_prefix="$artifacts" -print_final_stats=1 "${options[@]}" "${corpora[@]}" \
        >"$build/$1.log" 2>&1; then
        echo "fuzz_$1: $(grep -E '^#[0-9]+.*(DONE|INITED)' "$build/$1.log" | tail -1)"
    else
        echo "fuzz_$1 FAILED (input in $artifacts):"
        tail -n 40 "$build/$1.log"
        return 1
    fi
}
export -f run_one
export build seconds

targets=()
for program in "$build"/fuzz/fuzz_*; do
    [ -x "$program" ] && targets+=("${program##*/fuzz_}")
done
printf '%s\n' "${targets[@]}" | xargs -P "$(nproc)" -I{} bash -c 'run_one {}'
