#!/usr/bin/env bash
# Parses and writes back the same generated file with serialsctl and with yaz-marcdump (Debian
# package yaz), and prints records per second and the ratio. By default a 100 MB file of
# MARC 21 serial records in UTF-8; "cnmarc" uses 100,000 generated CNMARC records in GBK.
#   bench/compare_marc_parse.sh BUILD_DIR [usmarc [MB] | cnmarc [COUNT]]
set -euo pipefail
build=${1:?build directory (with bin/bench_marc and bin/serialsctl)}
kind=${2:-usmarc}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ "$kind" = cnmarc ]; then
    "$build/bin/bench_marc" --generate "$work/records.mrc" "${3:-100000}"
    args=(--format cnmarc)
else
    "$build/bin/bench_marc" --generate-usmarc "$work/records.mrc" "${3:-100}"
    args=(--format usmarc)
fi
count=$(tr -cd '\035' <"$work/records.mrc" | wc -c)
echo "file: $kind, $count records, $(stat -c %s "$work/records.mrc") bytes"

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

ours=$(seconds "$build/bin/serialsctl" marc dump "$work/records.mrc" "${args[@]}" --output "$work/ours.mrc")
yaz=$(seconds yaz-marcdump -i marc -o marc "$work/records.mrc")
cmp -s "$work/ours.mrc" "$work/records.mrc" && echo "serialsctl output is identical to the input"
printf 'serialsctl marc dump : %8.3f s  %10.0f records/s\n' "$ours" "$(echo "$count / $ours" | bc -l)"
printf 'yaz-marcdump         : %8.3f s  %10.0f records/s\n' "$yaz" "$(echo "$count / $yaz" | bc -l)"
printf 'ratio (yaz time / serialsctl time): %.2f\n' "$(echo "$yaz / $ours" | bc -l)"
