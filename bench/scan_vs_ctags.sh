#!/usr/bin/env bash
# Times `vorlix-cli scan DIR` (release build) against universal-ctags on the
# same headers, alternating the two in one run, and reports the median wall
# and CPU times, their ratios and the scan's peak memory.
#
#   bash bench/scan_vs_ctags.sh [DIR] [RUNS]      (defaults: /usr/include, 5)
#
# Needs: cmake, ninja, a C++ compiler, universal-ctags, and GNU time
# (/usr/bin/time, Debian package "time") for CPU time and memory.
set -euo pipefail
cd "$(dirname "$0")/.."

dir="${1:-/usr/include}"
runs="${2:-5}"

command -v ctags >/dev/null || { echo "ctags (universal-ctags) is not installed" >&2; exit 1; }

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORLIX_BUILD_TESTS=OFF \
    -DVORLIX_BUILD_GUI=OFF >/dev/null
cmake --build build/release --target vorlix-cli >/dev/null
cli="$PWD/build/release/src/vorlix-cli"

scan=("$cli" scan "$dir")
tags=(ctags -R --languages=C++ --langmap=C++:.h -f - "$dir")

# Prints "wall cpu peak-kB" of one run (cpu and memory as 0 without GNU time).
measure() {
    if [ -x /usr/bin/time ]; then
        /usr/bin/time -f '%e %U %S %M' "$@" 2>&1 >/dev/null | tail -1 |
            awk '{ printf "%.3f %.3f %d\n", $1, $2 + $3, $4 }'
    else
        local start end
        start=$(date +%s.%N)
        "$@" >/dev/null
        end=$(date +%s.%N)
        awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f 0 0\n", b - a }'
    fi
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Warm the page cache so that both read from memory.
"${scan[@]}" >/dev/null
"${tags[@]}" >/dev/null

scan_runs=()
tags_runs=()
for ((i = 0; i < runs; i++)); do
    scan_runs+=("$(measure "${scan[@]}")")
    tags_runs+=("$(measure "${tags[@]}")")
done

column() { printf '%s\n' "${@:2}" | awk -v c="$1" '{ print $c }'; }
scan_wall=$(column 1 "${scan_runs[@]}" | median)
tags_wall=$(column 1 "${tags_runs[@]}" | median)
scan_cpu=$(column 2 "${scan_runs[@]}" | median)
tags_cpu=$(column 2 "${tags_runs[@]}" | median)
scan_peak=$(column 3 "${scan_runs[@]}" | sort -g | tail -1)

echo "directory:        $dir ($(find "$dir" -iname '*.h' -type f | wc -l) .h files)"
echo "runs:             $runs each, alternating"
echo "vorlix-cli scan:  wall median $scan_wall s, cpu median $scan_cpu s  (wall: $(column 1 "${scan_runs[@]}" | tr '\n' ' '))"
echo "ctags:            wall median $tags_wall s, cpu median $tags_cpu s  (wall: $(column 1 "${tags_runs[@]}" | tr '\n' ' '))"
awk -v s="$scan_wall" -v t="$tags_wall" 'BEGIN { printf "ratio wall:       %.1f (ctags / scan)\n", t / s }'
if [ -x /usr/bin/time ]; then
    awk -v s="$scan_cpu" -v t="$tags_cpu" 'BEGIN { printf "ratio cpu:        %.1f (ctags / scan)\n", t / s }'
    echo "scan peak memory: $((scan_peak / 1024)) MiB (maximum resident set size)"
else
    echo "cpu and memory:   not measured (/usr/bin/time is missing: apt-get install time)"
fi
echo "load average:     $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
