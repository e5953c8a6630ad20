#!/usr/bin/env bash
# The filter in a pipe against the same job on a file, and its count against sort | uniq -c:
# every command in a fresh process, the commands taken in turn round after round, so that a busy
# spell on a shared machine hits them alike. Prints each command's median elapsed time, the two
# ratios and the load before and after.
#
#   bench/filter.sh [LINES]      # default 10000000; REPS=5, TWINSCAN=build/twinscan
set -u
cd "$(git rev-parse --show-toplevel)" || exit 2
lines=${1:-10000000}
reps=${REPS:-5}
twinscan=${TWINSCAN:-build/twinscan}
[ -x "$twinscan" ] || { echo "filter.sh: build $twinscan first" >&2; exit 2; }
data=bench/data/filter-$lines.txt
mkdir -p bench/data
if [ ! -f "$data" ]; then
    # Log-like lines, a few million distinct among them, so that most lines have duplicates.
    awk -v n="$lines" 'BEGIN { srand(29); for (i = 0; i < n; i++)
        printf "%s user%d GET /item/%d\n", (i % 7 ? "INFO" : "WARN"), int(rand() * 5000),
            int(rand() * 600) }' >"$data"
fi

names=("pipe" "file" "count" "sort | uniq -c")
commands=(
    "cat '$data' | '$twinscan' -q --keep=first >/dev/null"
    "'$twinscan' -q --keep=first '$data' >/dev/null"
    "'$twinscan' -q --count '$data' >/dev/null"
    "sort '$data' | uniq -c >/dev/null"
)
declare -A times
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
for ((r = 0; r < reps; r++)); do
    for i in "${!commands[@]}"; do
        start=$(date +%s.%N)
        bash -c "${commands[$i]}" || { echo "filter.sh: ${names[$i]} failed" >&2; exit 1; }
        end=$(date +%s.%N)
        times[$i]+="$(echo "$end - $start" | bc) "
    done
done
echo "load after:  $(cut -d' ' -f1-3 /proc/loadavg)"
median() { tr ' ' '\n' | grep . | sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
declare -A medians
for i in "${!commands[@]}"; do
    medians[$i]=$(echo "${times[$i]}" | median)
    printf '%-16s median %6.2f s   runs: %s\n' "${names[$i]}" "${medians[$i]}" "${times[$i]}"
done
printf 'pipe / file:            %.2f (target <= 1.3)\n' "$(echo "${medians[0]} / ${medians[1]}" | bc -l)"
printf 'count / sort | uniq -c: %.2f (target <= 0.3)\n' "$(echo "${medians[2]} / ${medians[3]}" | bc -l)"
echo "$lines lines, $reps rounds, $(wc -c <"$data") bytes, LANG=${LANG:-} LC_ALL=${LC_ALL:-}"
