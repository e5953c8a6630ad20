#!/usr/bin/env bash
# The unattended job on files that do not fit its memory, against sort -u under the same cap.
#
#   bench/past-memory.sh capped [LINES]   word list of LINES (default 60000000) in a memory cgroup
#   bench/past-memory.sh huge             2^31 + 5 lines: the job completes with the right output
#   bench/past-memory.sh larger [LINES]   LINES (default 300000000, about 27 GB) of about 90 bytes,
#                                         more than this machine's memory, by the filter under CAP
#
# "capped" runs the job (`/s 2 /c on /e on`: keep the first of equal lines, case-sensitive, empty
# lines too, which is what awk '!seen[$0]++' does), the filter (`-q -o`, the same by default), the
# filter reading the file from a pipe, and `LC_ALL=C sort -u -S 100M` in turns, each
# in a fresh cgroup v1 memory group of CAP (default 256M; needs root and
# /sys/fs/cgroup/memory), REPS times (default 3), and prints each run, the medians and their
# ratio; the job's output is compared with awk's, run once without the cap.
#
# Environment: TWINSCAN_BENCH_BUILD  Release build folder (default: build-bench at the top)
#              CAP, REPS             as above
#              SCRATCH               folder for outputs and temporary files (default: bench/data)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)
build=${TWINSCAN_BENCH_BUILD:-$root/build-bench}
data=$here/data
scratch=${SCRATCH:-$data}
cap=${CAP:-256M}
reps=${REPS:-3}
group=/sys/fs/cgroup/memory/twinscan-bench-$$
mkdir -p "$data" "$scratch"

if [[ ! -x $build/twinscan || ! -x $build/bench/twinscan_gendata ]]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null
    cmake --build "$build" --target twinscan twinscan_gendata > /dev/null
fi

# The job's command line for INPUT and OUTPUT.
job=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_CONFIG_HOME="$scratch/config"
    TWINSCAN_TMPDIR="$scratch" "$build/twinscan")
switches=(/s 2 /c on /e on)

# Runs "$@" in a new memory cgroup of the cap; prints "elapsed peak-MB" of the group.
capped() {
    mkdir "$group"
    echo "$cap" > "$group/memory.limit_in_bytes"
    local start end
    start=$(date +%s.%N)
    local status=0
    sh -c 'echo $$ > "$1/cgroup.procs"; shift; exec "$@"' sh "$group" "$@" > /dev/null || status=$?
    end=$(date +%s.%N)
    local peak
    peak=$(($(cat "$group/memory.max_usage_in_bytes") / 1048576))
    rmdir "$group"
    echo "$(echo "$end - $start" | bc) $peak $status"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

case ${1:-capped} in
capped)
    lines=${2:-60000000}
    file=$data/words-$lines.txt
    [[ -f $file ]] || "$build/bench/twinscan_gendata" --words "$lines" "$file"
    echo "file $file: $(du -h "$file" | cut -f1), load $(cut -d' ' -f1-3 /proc/loadavg)"
    [[ -f $file.awk ]] || awk '!seen[$0]++' "$file" > "$file.awk"
    : > "$scratch/times"
    for ((r = 1; r <= reps; r++)); do
        read -r t p s < <(capped "${job[@]}" /i "$file" /o "$scratch/out.txt" "${switches[@]}")
        echo "job    run $r: ${t}s peak ${p}MB exit $s, load $(cut -d' ' -f1 /proc/loadavg)"
        echo "job $t" >> "$scratch/times"
        cmp "$file.awk" "$scratch/out.txt" && echo "       output identical to awk's"
        read -r t p s < <(capped "${job[@]}" -q -o "$scratch/out.txt" "$file")
        echo "filter run $r: ${t}s peak ${p}MB exit $s, load $(cut -d' ' -f1 /proc/loadavg)"
        echo "filter $t" >> "$scratch/times"
        cmp "$file.awk" "$scratch/out.txt" && echo "       output identical to awk's"
        read -r t p s < <(capped sh -c 'f=$1; shift; cat "$f" | "$@"' sh "$file" "${job[@]}" -q -o "$scratch/out.txt")
        echo "pipe   run $r: ${t}s peak ${p}MB exit $s, load $(cut -d' ' -f1 /proc/loadavg)"
        echo "pipe $t" >> "$scratch/times"
        cmp "$file.awk" "$scratch/out.txt" && echo "       output identical to awk's"
        read -r t p s < <(capped env LC_ALL=C sort -u -S 100M -T "$scratch" -o "$scratch/sorted.txt" "$file")
        echo "sort   run $r: ${t}s peak ${p}MB exit $s, load $(cut -d' ' -f1 /proc/loadavg)"
        echo "sort $t" >> "$scratch/times"
    done
    j=$(grep '^job' "$scratch/times" | cut -d' ' -f2 | median)
    f=$(grep '^filter' "$scratch/times" | cut -d' ' -f2 | median)
    i=$(grep '^pipe' "$scratch/times" | cut -d' ' -f2 | median)
    s=$(grep '^sort' "$scratch/times" | cut -d' ' -f2 | median)
    echo "median job ${j}s, filter ${f}s, pipe ${i}s, sort -u -S 100M ${s}s;" \
        "ratios $(echo "scale=3; $j / $s" | bc), $(echo "scale=3; $f / $s" | bc)," \
        "$(echo "scale=3; $i / $s" | bc)"
    rm -f "$scratch/out.txt" "$scratch/sorted.txt" "$scratch/times"
    ;;
huge)
    file=$data/huge.txt
    if [[ ! -f $file ]]; then
        # head ends yes with SIGPIPE, which pipefail would take for a failure.
        head -n 2147483648 < <(yes a) > "$file"
        printf 'b\nc\nA\nd\na\n' >> "$file"
    fi
    echo "file $file: $(du -h "$file" | cut -f1), load $(cut -d' ' -f1-3 /proc/loadavg)"
    start=$(date +%s.%N)
    "${job[@]}" /i "$file" /o "$scratch/out.txt" "${switches[@]}"
    echo "elapsed $(echo "$(date +%s.%N) - $start" | bc)s"
    if [[ $(cat "$scratch/out.txt") == $'a\nb\nc\nA\nd' ]]; then
        echo "output right: a b c A d"
    else
        echo "output WRONG: $(head -c 100 "$scratch/out.txt" | od -c | head -3)"
    fi
    rm -f "$scratch/out.txt"
    ;;
larger)
    lines=${2:-300000000}
    file=$data/exact-$lines.txt
    [[ -f $file ]] || "$build/bench/twinscan_gendata" --exact "$lines" "$file"
    echo "file $file: $(du -h "$file" | cut -f1), memory $(free -h | awk '/^Mem/ { print $2 }')," \
        "load $(cut -d' ' -f1-3 /proc/loadavg)"
    # The least free space in the scratch folder while the filter runs: its temporary files.
    before=$(df --output=avail -B1M "$scratch" | tail -1)
    (while sleep 1; do df --output=avail -B1M "$scratch" | tail -1; done) > "$scratch/free" &
    watcher=$!
    read -r t p s < <(capped "${job[@]}" -q -o "$scratch/out.txt" "$file")
    kill "$watcher"
    least=$(sort -n "$scratch/free" | head -1)
    echo "filter: ${t}s peak ${p}MB exit $s," \
        "$(echo "scale=1; $t * 1000000000 / $lines" | bc) ns a line," \
        "at most $(((before - least) / 1024)) GB of the disk taken (output included)"
    "$build/bench/twinscan_gendata" --exact-firsts "$lines" /dev/stdout | cmp - "$scratch/out.txt" \
        && echo "output identical to the first occurrences gendata wrote"
    rm -f "$scratch/out.txt" "$scratch/free"
    ;;
esac
