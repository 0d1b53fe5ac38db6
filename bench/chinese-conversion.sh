#!/usr/bin/env bash
# Chinese conversion against the opencc tool on 10 MiB of real text, file to file, interleaved
# in one run: throughput (median of RUNS runs), peak memory and agreement with opencc's output.
#   bench/chinese-conversion.sh [build dir]      RUNS=5 by default
set -euo pipefail
build=${1:-build}
runs=${RUNS:-5}
tool=$build/bench/zhconvert
[ -x "$tool" ] || { echo "missing $tool: build first"; exit 1; }
command -v opencc >/dev/null || { echo "opencc missing: run scripts/install-deps.sh"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# shellcheck source=bench/zh-corpus.inc
. "$(dirname "$0")/zh-corpus.inc"
make_zh_corpus "$work"
opencc -c s2t.json -i "$work/simplified.txt" -o "$work/traditional.txt"

now() { date +%s%N; }

# run NAME COMMAND...: appends "<seconds> <peak KiB>" to $work/NAME
run() {
    local name=$1
    shift
    local start end
    start=$(now)
    /usr/bin/time -f %M -o "$work/rss" "$@" >/dev/null
    end=$(now)
    echo "$(( (end - start) / 1000 )) $(cat "$work/rss")" >>"$work/$name"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

tables="TW:s2twp.json:simplified HK:s2hk.json:simplified CN:t2s.json:traditional SG:t2s.json:traditional"
for ((i = 0; i < runs; i++)); do
    for t in $tables; do
        IFS=: read -r table config input <<<"$t"
        run "ours-$table" "$tool" stream "$table" "$work/$input.txt" "$work/ours-$table.txt"
        run "opencc-$table" opencc -c "$config" -i "$work/$input.txt" -o "$work/opencc-$table.txt"
    done
    run ours-string-TW "$tool" string TW "$work/simplified.txt" "$work/ours-string-TW.txt"
done

mib() { awk -v b="$(stat -c %s "$1")" 'BEGIN { printf "%.2f", b / 1048576 }'; }
echo "input: $(mib "$work/simplified.txt") MiB simplified (fortunes-zh), $(mib "$work/traditional.txt") MiB traditional; $runs runs, medians"
printf '%-6s %-12s %12s %12s %8s %12s %12s  %s\n' table opencc-config "ours MiB/s" "opencc MiB/s" ratio "ours peak" "opencc peak" "agreement with opencc"
for t in $tables; do
    IFS=: read -r table config input <<<"$t"
    bytes=$(stat -c %s "$work/$input.txt")
    ours_us=$(cut -d' ' -f1 "$work/ours-$table" | median)
    theirs_us=$(cut -d' ' -f1 "$work/opencc-$table" | median)
    ours_kib=$(cut -d' ' -f2 "$work/ours-$table" | median)
    theirs_kib=$(cut -d' ' -f2 "$work/opencc-$table" | median)
    agreement=$("$tool" compare "$work/$input.txt" "$work/ours-$table.txt" "$work/opencc-$table.txt")
    awk -v t="$table" -v c="$config" -v b="$bytes" -v o="$ours_us" -v r="$theirs_us" -v om="$ours_kib" -v rm="$theirs_kib" -v a="$(head -1 <<<"$agreement")" 'BEGIN {
        printf "%-6s %-12s %12.1f %12.1f %7.1fx %9.1f MiB %8.1f MiB  %s %%\n", t, c, b / 1048576 / (o / 1e6), b / 1048576 / (r / 1e6), r / o, om / 1024, rm / 1024, a }'
    tail -n +2 <<<"$agreement"
done
string_us=$(cut -d' ' -f1 "$work/ours-string-TW" | median)
string_kib=$(cut -d' ' -f2 "$work/ours-string-TW" | median)
cmp -s "$work/ours-string-TW.txt" "$work/ours-TW.txt" && same="same output" || same="OUTPUT DIFFERS"
awk -v b="$(stat -c %s "$work/simplified.txt")" -v o="$string_us" -v m="$string_kib" -v s="$same" 'BEGIN {
    printf "TW in one QString (the text action'"'"'s way): %.1f MiB/s, peak %.1f MiB, %s as in pieces\n", b / 1048576 / (o / 1e6), m / 1024, s }'
echo "(whole processes timed: ours includes building its table, opencc loading its configuration)"
