#!/usr/bin/env bash
# Builds the fuzz targets with clang in build-fuzz and runs each for SECONDS (default 30) in
# turn, starting from the corpus kept in fuzz/corpus/<target>. A crash stops the script with
# the failing input written to build-fuzz/crash-*.
#
#   fuzz/run.sh [SECONDS] [TARGET...]      targets: line_splitting scan past_memory save_copy command_line settings
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)
build=${TWINSCAN_FUZZ_BUILD:-$root/build-fuzz}
seconds=${1:-30}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(line_splitting scan past_memory save_copy command_line settings)

if [[ ! -f $build/CMakeCache.txt ]]; then
    CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DTWINSCAN_FUZZ=ON -DTWINSCAN_TESTS=OFF > /dev/null
fi
cmake --build "$build" -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

# The quadratic reference makes long inputs slow without finding more.
declare -A maxLength=([line_splitting]=4096 [scan]=512 [past_memory]=1024 [save_copy]=4096 [command_line]=512
    [settings]=1024)
for target in "${targets[@]}"; do
    corpus=$build/corpus/$target
    mkdir -p "$corpus"
    dictionary=()
    [[ -f $here/$target.dict ]] && dictionary=(-dict="$here/$target.dict")
    echo "== $target: ${seconds}s" >&2
    (cd "$build" && QT_QPA_PLATFORM=offscreen "./fuzz/fuzz_$target" "${dictionary[@]}" \
        -max_total_time="$seconds" -max_len="${maxLength[$target]}" -print_final_stats=1 \
        "$corpus" "$here/seeds/$target")
done
