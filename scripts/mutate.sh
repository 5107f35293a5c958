#!/usr/bin/env bash
# Mutation sample: applies single-token faults one at a time to a copy of a
# checkout, rebuilds incrementally and runs the test programs that cover the
# mutated folder. A mutant is killed when a test program fails, crashes or
# runs out of time (an endless loop counts as caught). Mutants of the desktop
# program (app, shell, views) build the GUI and run its tests offscreen.
#
# Usage: scripts/mutate.sh [-a] [-k] [-l LIST] [-o FILE] [-w WORKDIR] [-f FOLDERS] CHECKOUT
#   -a          run every test program for every mutant (slower)
#   -k          keep going after a failing unmutated run (default: stop)
#   -l LIST     mutant list (default: scripts/mutants.txt of this script's tree)
#   -o FILE     also write the report to FILE
#   -w WORKDIR  where the copy and its build live (default /tmp/vorlix-mutate-<name>)
#   -f FOLDERS  only mutants in these source folders, comma-separated
# List lines: file<TAB>line<TAB>original<TAB>replacement, '#' starts a comment.
# The file is relative to src/; the line is a hint: the original text is
# looked for there first, then on the nearest line within 40 either side,
# so the list survives edits above a mutant. An empty replacement deletes.
set -uo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
list="$here/mutants.txt"
all=0
keep=0
out=""
work=""
only=""
while getopts "akl:o:w:f:" opt; do
    case $opt in
    a) all=1 ;;
    k) keep=1 ;;
    l) list="$OPTARG" ;;
    o) out="$OPTARG" ;;
    w) work="$OPTARG" ;;
    f) only=",$OPTARG," ;;
    *) sed -n 's/^# Usage: /usage: /p' "$0"; exit 2 ;;
    esac
done
shift $((OPTIND - 1))
if [ $# -ne 1 ] || [ ! -d "$1/src" ]; then
    sed -n 's/^# Usage: /usage: /p' "$0"
    exit 2
fi
checkout="$(cd "$1" && pwd)"
list="$(cd "$(dirname "$list")" && pwd)/$(basename "$list")"
[ -n "$work" ] || work="/tmp/vorlix-mutate-$(basename "$checkout")"
[ -z "$out" ] || out="$(cd "$(dirname "$out")" && pwd)/$(basename "$out")"
mkdir -p "$work"
tree="$work/tree"
build="$work/build"
log="$work/log"
mkdir -p "$tree" "$log"

say() {
    printf '%s\n' "$*"
    [ -z "$out" ] || printf '%s\n' "$*" >>"$out"
}
[ -z "$out" ] || : >"$out"

# The copy: tracked and untracked-but-not-ignored files, so uncommitted work
# counts. Only files that differ are replaced, so the build stays incremental.
fresh="$work/fresh"
rm -rf "$fresh" && mkdir -p "$fresh"
if git -C "$checkout" rev-parse --git-dir >/dev/null 2>&1; then
    (cd "$checkout" && git ls-files -z --cached --others --exclude-standard |
        tar --null --ignore-failed-read -T - -cf - 2>/dev/null) | tar -xf - -C "$fresh"
    say "checkout: $checkout ($(git -C "$checkout" rev-parse --short HEAD)$(
        git -C "$checkout" diff --quiet HEAD -- src tests || echo ', with uncommitted changes'))"
else
    tar -C "$checkout" --exclude=./build -cf - . | tar -xf - -C "$fresh"
    say "checkout: $checkout"
fi
(cd "$fresh" && find . -type f) | while IFS= read -r f; do
    cmp -s "$fresh/$f" "$tree/$f" || { mkdir -p "$(dirname "$tree/$f")" && cp "$fresh/$f" "$tree/$f"; }
done
(cd "$tree" && find . -type f) | while IFS= read -r f; do
    [ -e "$fresh/$f" ] || rm -f "$tree/$f"
done
# The tests find the shared fixtures beside the checkout.
for up in "$checkout/../shared" "$checkout/../../shared"; do
    if [ -d "$up/fixtures" ]; then
        ln -sfn "$(cd "$up" && pwd)" "$work/shared"
        break
    fi
done

# The folders of the selected mutants: the GUI is built only when one of
# them belongs to the desktop program.
is_gui_folder() { case $1 in app | shell | views) return 0 ;; *) return 1 ;; esac; }
want_core=0
want_gui=0
while IFS=$'\t' read -r file _ || [ -n "$file" ]; do
    case "$file" in '' | '#'*) continue ;; esac
    folder="${file%%/*}"
    [ -z "$only" ] || [[ "$only" == *",$folder,"* ]] || continue
    if is_gui_folder "$folder"; then want_gui=1; else want_core=1; fi
done <"$list"
[ $want_gui -eq 1 ] && gui=ON || gui=OFF

[ -z "${CMAKE_CXX_COMPILER_LAUNCHER:-}" ] && command -v ccache >/dev/null &&
    export CMAKE_CXX_COMPILER_LAUNCHER=ccache
unset ASAN_OPTIONS UBSAN_OPTIONS
export QT_QPA_PLATFORM=offscreen
if [ ! -f "$build/build.ninja" ] ||
    ! grep -q "^VORLIX_BUILD_GUI:BOOL=$gui\$" "$build/CMakeCache.txt" 2>/dev/null; then
    cmake -S "$tree" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVORLIX_SANITIZE=OFF \
        -DVORLIX_BUILD_GUI="$gui" -DVORLIX_BUILD_BENCH=OFF >"$log/configure.txt" 2>&1 ||
        { say "configure failed: $log/configure.txt"; exit 1; }
fi

core_programs="analysis cli html mdb model persistence platform search views"
gui_programs="gui gui_classcommands"
# The programs of the unmutated run: every core one when a core mutant is
# selected (or none is), the GUI ones when a GUI mutant is.
needed=""
[ $want_core -eq 1 ] || [ $want_gui -eq 0 ] && needed="$core_programs"
[ $want_gui -eq 0 ] || needed="$needed $gui_programs"
# Which test programs watch which source folder; the command-line verbs are
# tested beside the folder they drive, so cli mutants run everything.
programs_for() {
    if [ $all -eq 1 ]; then echo "$needed"; return; fi
    case $1 in
    app | shell | views) echo "$gui_programs" ;;
    search) echo "search cli" ;;
    model) echo "model views cli" ;;
    platform) echo "platform analysis cli" ;;
    html) echo "html cli" ;;
    analysis) echo "analysis cli" ;;
    persistence) echo "persistence mdb cli" ;;
    *) echo "$core_programs" ;;
    esac
}
existing() {
    local p
    for p in $1; do ls "$tree/tests/$p"/*.cpp >/dev/null 2>&1 && echo -n "$p "; done
}

build_for() { # programs...
    local targets="vorlix-cli" p
    for p in $1; do targets+=" test_$p"; done
    # shellcheck disable=SC2086
    nice cmake --build "$build" -j2 --target $targets >"$log/build.txt" 2>&1
}

declare -A limit
# Runs the programs, first failure wins; prints the program that failed.
run_programs() { # programs
    local p rc
    for p in $1; do
        (cd "$build/tests" && nice timeout -k 5 "${limit[$p]:-120}" "./test_$p" --gtest_fail_fast \
            --gtest_brief=1 >"$log/run_$p.txt" 2>&1)
        rc=$?
        if [ $rc -ne 0 ]; then
            [ $rc -eq 124 ] || [ $rc -eq 137 ] && echo "$p(timeout)" || echo "$p"
            return 1
        fi
    done
    return 0
}

# Unmutated run: everything must pass, and it sets each program's time limit.
programs="$(existing "$needed")"
say "building the unmutated tree ($( [ "$gui" = ON ] && echo "with" || echo "without") the GUI) ..."
build_for "$programs" || { say "unmutated build failed: $log/build.txt"; exit 1; }
for p in $programs; do
    start=$(date +%s)
    limit[$p]=600
    failed="$(run_programs "$p")"
    took=$(($(date +%s) - start))
    limit[$p]=$((took * 4 + 30))
    if [ -n "$failed" ]; then
        say "unmutated: test_$p fails (see $log/run_$p.txt)"
        [ $keep -eq 1 ] || exit 1
    fi
done
say "unmutated: all pass; limits(s): $(for p in $programs; do echo -n "$p=${limit[$p]} "; done)"

declare -A killed survived
survivors=()
others=()
n=0
while IFS=$'\t' read -r file line original replacement || [ -n "$file" ]; do
    case "$file" in '' | '#'*) continue ;; esac
    folder="${file%%/*}"
    [ -z "$only" ] || [[ "$only" == *",$folder,"* ]] || continue
    n=$((n + 1))
    target="$tree/src/$file"
    what="$file:$line '$original' -> '$replacement'"
    if [ ! -f "$target" ]; then
        others+=("missing  $what")
        say "[$n] MISSING   $what"
        continue
    fi
    # The nearest line holding the original text.
    # Texts go through the environment: awk -v would read "\r" as a CR.
    hit="$(want="$line" text="$original" awk '
        BEGIN { want = ENVIRON["want"]; text = ENVIRON["text"] }
        index($0, text) { d = NR - want; if (d < 0) d = -d
                          if (d <= 40 && (best == "" || d < bestd)) { best = NR; bestd = d } }
        END { print best }' "$target")"
    if [ -z "$hit" ]; then
        others+=("not found $what")
        say "[$n] NOTFOUND  $what"
        continue
    fi
    cp "$target" "$work/original"
    at="$hit" text="$original" repl="$replacement" awk '
        BEGIN { at = ENVIRON["at"]; text = ENVIRON["text"]; repl = ENVIRON["repl"] }
        NR == at { i = index($0, text); $0 = substr($0, 1, i - 1) repl substr($0, i + length(text)) }
        { print }' "$work/original" >"$target"
    programs="$(existing "$(programs_for "$folder")")"
    what="$file:$hit '$original' -> '$replacement'"
    if ! build_for "$programs"; then
        others+=("no build  $what")
        say "[$n] NOBUILD   $what"
    elif failed="$(run_programs "$programs")"; then
        survived[$folder]=$((${survived[$folder]:-0} + 1))
        survivors+=("$what")
        say "[$n] SURVIVED  $what"
    else
        killed[$folder]=$((${killed[$folder]:-0} + 1))
        say "[$n] killed    $what  (by $failed)"
    fi
    # A fresh time stamp, so the next build compiles the restored text again.
    cp "$work/original" "$target"
    touch "$target"
done <"$list"

say ""
say "folder        killed/total"
total_k=0
total_n=0
for folder in $(printf '%s\n' "${!killed[@]}" "${!survived[@]}" | sort -u); do
    k=${killed[$folder]:-0}
    t=$((k + ${survived[$folder]:-0}))
    total_k=$((total_k + k))
    total_n=$((total_n + t))
    say "$(printf '%-13s %d/%d' "$folder" "$k" "$t")"
done
[ $total_n -eq 0 ] || say "$(printf '%-13s %d/%d (%d %%)' all "$total_k" "$total_n" $((100 * total_k / total_n)))"
if [ ${#survivors[@]} -gt 0 ]; then
    say "survivors:"
    for s in "${survivors[@]}"; do say "  $s"; done
fi
if [ ${#others[@]} -gt 0 ]; then
    say "not counted:"
    for s in "${others[@]}"; do say "  $s"; done
fi
# Leave the copy as it came.
build_for "$(existing "$needed")" || true
