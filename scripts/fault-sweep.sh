#!/usr/bin/env bash
# Applies each deliberate fault of a table to src/ in turn, rebuilds, runs the test programs of
# the fault's layer and the layers above it, lowest first, and records which test caught it.
# The faulted file is restored after every fault, also when the sweep is interrupted.
#
#   scripts/fault-sweep.sh [-n] [-b BUILD_DIR] [-t TABLE] [NAME_PATTERN]
#
# -n only checks that every row still applies to the sources, without building.
#
# Not part of the test suite: a sweep rebuilds dozens of times. A test program that runs past two
# minutes counts as a catch: the fault made it hang. Results go to
# BUILD_DIR/fault-sweep/results.tsv, one log per fault beside it.
set -u

cd "$(git rev-parse --show-toplevel)" || exit 2
build=build
table=scripts/faults.tsv
dryRun=false
while getopts "nb:t:" opt; do
    case $opt in
    n) dryRun=true ;;
    b) build=$OPTARG ;;
    t) table=$OPTARG ;;
    *) exit 2 ;;
    esac
done
shift $((OPTIND - 1))
pattern=${1:-}

if ! git diff --quiet -- src; then
    echo "fault-sweep: src/ has uncommitted changes; commit or stash them first" >&2
    exit 2
fi
[ -d "$build" ] || { echo "fault-sweep: no build folder $build" >&2; exit 2; }

out=$build/fault-sweep
mkdir -p "$out"
results=$out/results.tsv
faulted=""
restore() {
    if [ -n "$faulted" ]; then
        git checkout -- "$faulted"
        faulted=""
    fi
}
trap 'restore; exit 130' INT TERM
trap restore EXIT

# The programs that can see a fault in each layer, lowest first.
programsFor() {
    case $1 in
    src/engine/*) echo "engine editing app e2e" ;;
    src/editing/*) echo "editing app e2e" ;;
    src/app/*) echo "app e2e" ;;
    src/ui/*) echo "ui windows app" ;;
    src/windows/*) echo "windows app" ;;
    *) echo "engine editing ui windows app e2e" ;;
    esac
}

# Replaces the line whose text, leading spaces aside, is $2 by $3 with the same indent: the only
# such line, or the $4th where the table names one. Fails when that line is not there.
applyFault() {
    local file=$1 original=$2 faulty=$3 occurrence=${4:-} tmp
    tmp=$(mktemp) || return 1
    if ! ORIG="$original" FAULT="$faulty" WANT="$occurrence" awk '
        { text = $0; sub(/^[ \t]+/, "", text) }
        text == ENVIRON["ORIG"] {
            ++hits
            if (ENVIRON["WANT"] == "" || hits == ENVIRON["WANT"] + 0) {
                indent = substr($0, 1, length($0) - length(text))
                print indent ENVIRON["FAULT"]
                next
            }
        }
        { print }
        END { exit (ENVIRON["WANT"] == "" ? hits == 1 : hits >= ENVIRON["WANT"] + 0) ? 0 : 1 }' \
        "$file" >"$tmp"; then
        rm -f "$tmp"
        return 1
    fi
    cat "$tmp" >"$file" # keeps the file's mode
    rm -f "$tmp"
}

runProgram() {
    local program=$1 log=$2
    if [ "$program" = e2e ]; then
        (cd "$build/tests" && timeout 120 ./test_e2e --gtest_brief=1) >>"$log" 2>&1
    else
        (cd "$build/tests" && QT_QPA_PLATFORM=offscreen timeout 120 "./test_$program" \
            --gtest_brief=1) >>"$log" 2>&1
    fi
}

printf 'name\tlayer\tresult\tcaught by\n' >"$results"
caught=0 escaped=0 accepted=0 broken=0
while IFS= read -r row <&3; do
    case $row in '' | '#'*) continue ;; esac
    # Split by hand: read would merge the two tabs around an empty column.
    mapfile -d $'\t' -t fields < <(printf '%s' "$row")
    name=${fields[0]} file=${fields[1]} original=${fields[2]} faulty=${fields[3]:-}
    occurrence=${fields[4]:-} acceptedBecause=${fields[5]:-}
    [ -n "$pattern" ] && [[ $name != *$pattern* ]] && continue
    layer=$(echo "$file" | cut -d/ -f2)
    log=$out/$name.log
    : >"$log"
    if ! applyFault "$file" "$original" "$faulty" "$occurrence"; then
        printf '%s\t%s\tstale\t(line not found once in %s)\n' "$name" "$layer" "$file" | tee -a "$results"
        broken=$((broken + 1))
        continue
    fi
    faulted=$file
    if $dryRun; then
        restore
        continue
    fi
    # Each program is built only when the ones below it let the fault through.
    by="" built=true
    for program in $(programsFor "$file"); do
        if ! cmake --build "$build" --target "test_$program" >>"$log" 2>&1; then
            built=false
            break
        fi
        if ! runProgram "$program" "$log"; then
            failed=$(grep -o '^\[  FAILED  \] [A-Za-z0-9_/]*\.[A-Za-z0-9_./]*' "$log" | sed 's/^\[  FAILED  \] //' | sort -u | tr '\n' ' ')
            by="test_$program: ${failed:-crashed or timed out}"
            break
        fi
    done
    if ! $built; then
        restore
        printf '%s\t%s\tno-build\t\n' "$name" "$layer" | tee -a "$results"
        broken=$((broken + 1))
        continue
    fi
    restore
    if [ -n "$by" ]; then
        caught=$((caught + 1))
        printf '%s\t%s\tcaught\t%s\n' "$name" "$layer" "$by" | tee -a "$results"
    elif [ -n "$acceptedBecause" ]; then
        accepted=$((accepted + 1))
        printf '%s\t%s\taccepted\t%s\n' "$name" "$layer" "$acceptedBecause" | tee -a "$results"
    else
        escaped=$((escaped + 1))
        printf '%s\t%s\tESCAPED\t\n' "$name" "$layer" | tee -a "$results"
    fi
done 3<"$table"

$dryRun || cmake --build "$build" >/dev/null 2>&1 # back to the unfaulted build
echo "caught $caught, accepted $accepted, escaped $escaped, not applied $broken; table in $results"
[ "$escaped" -eq 0 ] && [ "$broken" -eq 0 ]
