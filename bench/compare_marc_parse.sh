#!/usr/bin/env bash
# Parses and writes back the same generated file of 100,000 CNMARC records with serialsctl and
# with yaz-marcdump (Debian package yaz), and prints records per second and the ratio.
#   bench/compare_marc_parse.sh BUILD_DIR
set -euo pipefail
build=${1:?build directory (with bin/bench_marc and bin/serialsctl)}
count=100000
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bin/bench_marc" --generate "$work/records.mrc" "$count"
echo "file: $count records, $(stat -c %s "$work/records.mrc") bytes"

seconds() {  # best of three wall-clock runs of the command
    local best=""
    for _ in 1 2 3; do
        local t0 t1
        t0=$(date +%s.%N)
        "$@" >/dev/null
        t1=$(date +%s.%N)
        local t
        t=$(echo "$t1 - $t0" | bc -l)
        if [ -z "$best" ] || [ "$(echo "$t < $best" | bc -l)" = 1 ]; then best=$t; fi
    done
    echo "$best"
}

ours=$(seconds "$build/bin/serialsctl" marc dump "$work/records.mrc" --encoding gbk --output "$work/ours.mrc")
yaz=$(seconds yaz-marcdump -i marc -o marc "$work/records.mrc")
cmp -s "$work/ours.mrc" "$work/records.mrc" && echo "serialsctl output is identical to the input"
printf 'serialsctl marc dump : %8.3f s  %10.0f records/s\n' "$ours" "$(echo "$count / $ours" | bc -l)"
printf 'yaz-marcdump         : %8.3f s  %10.0f records/s\n' "$yaz" "$(echo "$count / $yaz" | bc -l)"
printf 'ratio (yaz time / serialsctl time): %.2f\n' "$(echo "$yaz / $ours" | bc -l)"
