#!/usr/bin/env bash
# Measures the engine's scan against its peers on generated files and prints a table of medians,
# ratios and peak memory. Every measurement runs in a fresh process.
#
#   bench/run.sh [SIZE...]     sizes in lines, "M" for millions; default: 1M 10M
#
# The spread is the slowest of a command's runs divided by the fastest.
#
# Environment: TWINSCAN_BENCH_BUILD  Release build folder (default: build-bench at the top)
#              REPS                  repetitions per command (default: 5 for 1M or less, else 3)
#              ONLY                  a grep -E pattern: run only the commands whose names match
#              BASELINE              a second build folder (another commit, other flags): each
#                                    command that runs a program of the build also runs from it,
#                                    as "NAME @base", in the same round-robin
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)
build=${TWINSCAN_BENCH_BUILD:-$root/build-bench}
data=$here/data
results=$here/results

# What is measured, one "name|command" each, run through sh. In a command, {file} is the data
# file, {build} the build folder and {scratch} an empty folder for outputs. To measure something
# new, add a line here (and its target to `targets` if it needs one).
# A command that prints a line "measured=SECONDS" is timed by that figure (one phase of its run);
# its peak memory is still the whole process's.
commands=(
    "engine scan|{build}/bench/twinscan_bench scan {file} > /dev/null"
    "engine 1 thread|TWINSCAN_THREADS=1 {build}/bench/twinscan_bench scan {file} > /dev/null"
    "engine field key|{build}/bench/twinscan_bench scan {file} field > /dev/null"
    "engine csv key|{build}/bench/twinscan_bench scan {file} csv > /dev/null"
    "engine regex key|{build}/bench/twinscan_bench scan {file} regex > /dev/null"
    "window scan|{build}/bench/twinscan_window_bench scan {file}"
    "window 1 thread|TWINSCAN_THREADS=1 {build}/bench/twinscan_window_bench scan {file}"
    "window scan (lists)|{build}/bench/twinscan_window_bench lists {file}"
    "save|{build}/bench/twinscan_window_bench save {file} {scratch}/out.txt"
    "report|{build}/bench/twinscan_window_bench report {file} {scratch}/report.tsv"
    "menu rules|{build}/bench/twinscan_window_bench mark {file}"
    "undo marks|{build}/bench/twinscan_window_bench undo {file}"
    "copy all|{build}/bench/twinscan_window_bench copy {file}"
    "click|head -n 32767 {file} > {scratch}/small.txt && {build}/bench/twinscan_window_bench click {scratch}/small.txt"
    "view|{build}/bench/twinscan_window_bench view {file}"
    "view close|{build}/bench/twinscan_window_bench viewclose {file}"
    "viewer find|{build}/bench/twinscan_bench find {file}"
    "twinscan job|env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_CONFIG_HOME={scratch}/config {build}/twinscan /i {file} /o {scratch}/out.txt /s 2 > /dev/null"
    "job 1 thread|env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM TWINSCAN_THREADS=1 XDG_CONFIG_HOME={scratch}/config {build}/twinscan /i {file} /o {scratch}/out.txt /s 2 > /dev/null"
    "keep-first C++|{build}/bench/mmap_xxh3_keep_first {file} > {scratch}/out.txt"
    "cat >out|cat {file} > {scratch}/out.txt"
    "sort -u|LC_ALL=C sort -u {file} > /dev/null"
    "perl seen|perl -ne 'print unless \$seen{\$_}++' {file} > /dev/null"
    "sort -u >out|LC_ALL=C sort -u {file} > {scratch}/out.txt"
    "perl >out|perl -ne 'print unless \$seen{\$_}++' {file} > {scratch}/out.txt"
)
# Every command's time is also given as a multiple of each of these.
peers=("engine scan" "window scan" "sort -u" "perl seen" "sort -u >out" "perl >out" "keep-first C++" "cat >out")
targets=(twinscan_bench twinscan_gendata twinscan_window_bench twinscan mmap_xxh3_keep_first)

# ONLY keeps the commands, and the peers, whose names match it.
select_commands() {
    [[ -n ${ONLY:-} ]] || return 0
    local entry name kept=() kept_peers=()
    for entry in "${commands[@]}"; do
        if grep -qE "$ONLY" <<< "${entry%%|*}"; then kept+=("$entry"); fi
    done
    for name in "${peers[@]}"; do
        if grep -qE "$ONLY" <<< "$name"; then kept_peers+=("$name"); fi
    done
    commands=("${kept[@]}")
    peers=("${kept_peers[@]}")
}

add_baseline() {
    [[ -n ${BASELINE:-} ]] || return 0
    local baseline entry added=()
    baseline=$(cd "$BASELINE" && pwd)
    cmake --build "$baseline" -j2 --target "${targets[@]}" > /dev/null
    for entry in "${commands[@]}"; do
        [[ $entry == *"{build}"* ]] || continue
        local command=${entry#*|}
        added+=("${entry%%|*} @base|${command//\{build\}/$baseline}")
    done
    commands+=("${added[@]}")
}

build_tools() {
    if [[ ! -f $build/CMakeCache.txt ]]; then
        cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTWINSCAN_TESTS=OFF \
            > /dev/null
    fi
    cmake --build "$build" -j2 --target "${targets[@]}" > /dev/null
    add_baseline
}

lines_of() { # 1M -> 1000000
    local size=$1
    if [[ $size == *M ]]; then echo $((${size%M} * 1000000)); else echo "$size"; fi
}

data_file() {
    local size=$1 file=$data/lines-$1.txt
    if [[ ! -f $file ]]; then
        mkdir -p "$data"
        echo "generating $file" >&2
        "$build/bench/twinscan_gendata" "$(lines_of "$size")" "$file.part"
        mv "$file.part" "$file"
    fi
    echo "$file"
}

calc() { awk "BEGIN { print $1 }"; }

median() { # of the numbers on standard input
    sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# Runs one command once and appends "elapsed cpu peak_kb" to its record file.
measure() {
    local command=$1 record=$2 scratch
    scratch=$(mktemp -d "$data/scratch.XXXXXX")
    command=${command//\{file\}/$file}
    command=${command//\{build\}/$build}
    command=${command//\{scratch\}/$scratch}
    /usr/bin/time -f "%e %U %S %M" -o "$scratch.time" sh -c "$command" > "$scratch.out"
    local phase
    phase=$(sed -n 's/^measured=//p' "$scratch.out")
    awk -v phase="$phase" '{ printf "%s %.2f %s\n", phase != "" ? phase : $1, $2 + $3, $4 }' \
        "$scratch.time" >> "$record"
    rm -rf "$scratch" "$scratch.time" "$scratch.out"
}

report() {
    local size=$1 file=$2 records=$3 bytes name field
    bytes=$(stat -c %s "$file")
    printf '\n%s: %s lines, %.1f MB, %d repetitions, %s\n\n' "$size" "$(lines_of "$size")" \
        "$(calc "$bytes / 1048576")" "$reps" "$(date -u '+%Y-%m-%d %H:%M UTC')"
    printf '| %-15s | %9s | %6s | %9s | %11s | %7s |' command "elapsed s" spread "cpu s" "peak RSS MB" \
        "RSS/file"
    for name in "${peers[@]}"; do printf ' %10s |' "÷ $name"; done
    printf '\n|%s|%s|%s|%s|%s|%s|' ----------------- ----------- -------- ----------- ------------- \
        ---------
    for name in "${peers[@]}"; do printf '%s|' ------------; done
    printf '\n'
    declare -A elapsed
    for entry in "${commands[@]}"; do
        name=${entry%%|*}
        elapsed[$name]=$(cut -d' ' -f1 "$records/$name" | median)
    done
    for entry in "${commands[@]}"; do
        name=${entry%%|*}
        local cpu peak spread
        spread=$(cut -d' ' -f1 "$records/$name" | sort -g | awk 'NR == 1 { low = $1 } { high = $1 }
            END { print (low > 0 ? high / low : 0) }')
        cpu=$(cut -d' ' -f2 "$records/$name" | median)
        peak=$(cut -d' ' -f3 "$records/$name" | median)
        printf '| %-15s | %9.2f | %6.2f | %9.2f | %11.0f | %7.2f |' "$name" "${elapsed[$name]}" \
            "$spread" "$cpu" \
            "$(calc "$peak / 1024")" "$(calc "$peak * 1024 / $bytes")"
        for field in "${peers[@]}"; do
            printf ' %10.2f |' "$(calc "${elapsed[$name]} / ${elapsed[$field]}")"
        done
        printf '\n'
    done
}

main() {
    local sizes=("$@") size records
    ((${#sizes[@]})) || sizes=(1M 10M)
    select_commands
    build_tools
    mkdir -p "$results"
    local log
    log=$results/$(date -u +%Y%m%d-%H%M%S).md
    for size in "${sizes[@]}"; do
        file=$(data_file "$size")
        reps=${REPS:-$( (($(lines_of "$size") <= 1000000)) && echo 5 || echo 3)}
        records=$(mktemp -d)
        cat "$file" > /dev/null # into the page cache, so that the first command is not penalised
        # Round-robin, so that a busy spell on a shared machine hits every command alike.
        for ((rep = 1; rep <= reps; ++rep)); do
            for entry in "${commands[@]}"; do
                echo "  $size run $rep/$reps: ${entry%%|*}" >&2
                measure "${entry#*|}" "$records/${entry%%|*}"
            done
        done
        report "$size" "$file" "$records" | tee -a "$log"
        rm -rf "$records"
    done
    echo "results also in $log" >&2
}

main "$@"
